#include "editor/messages.h"

#include "editor/form1.h"
#include "editor/session.h"

#include <QMessageBox>

namespace pylon {

MsgAnswer MsgBox(QWidget* parent, const QString& text, MsgStyle style, const QString& title) {
    QMessageBox box(QMessageBox::NoIcon, title.isEmpty() ? kAppTitle : title, text,
                    style == MsgStyle::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("MsgBox"));
    const int answer = box.exec();
    // Give the focus back to the window the box stood over, whatever the window manager does.
    if (parent && parent->isVisible()) parent->window()->activateWindow();
    if (style == MsgStyle::Ok) return MsgAnswer::Ok;
    return answer == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
}

bool sayWhileIndexesAreMade(Session& m) {
    if (!m.indexesBeingMade()) return false;
    MsgBox(m.form1,
           QStringLiteral("La base de données est en cours de préparation : réessayez dans un moment."),
           MsgStyle::Ok, QStringLiteral("Message"));
    return true;
}

} // namespace pylon
