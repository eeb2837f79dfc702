#include "app/module1.h"

#include "editor/form1.h"
#include "store/schema.h"

namespace pylon {

QString Module1::databasePath() const {
    return appPath + QLatin1Char('/') + QLatin1String(schema::kFileName);
}

} // namespace pylon

namespace pylon {

bool Module1::editMode() const {
    return form1 && form1->ui.Command10->isEnabled();
}

} // namespace pylon
