#include "editor/session.h"

#include "editor/form1.h"
#include "widgets/messages.h"

namespace pylon {

bool sayWhileIndexesAreMade(Session& m) {
    if (!m.indexesBeingMade()) return false;
    MsgBox(m.form1,
           QStringLiteral("La base de données est en cours de préparation : réessayez dans un moment."),
           MsgStyle::Ok, QStringLiteral("Message"));
    return true;
}

} // namespace pylon
