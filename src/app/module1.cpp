#include "app/module1.h"

#include "store/schema.h"

namespace pylon {

QString Module1::databasePath() const {
    return appPath + QLatin1Char('/') + QLatin1String(schema::kFileName);
}

} // namespace pylon
