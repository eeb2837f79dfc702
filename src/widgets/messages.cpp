#include "widgets/messages.h"

#include <QMessageBox>

namespace pylon {

MsgAnswer MsgBox(QWidget* parent, const QString& text, MsgStyle style, const QString& title) {
    const bool question = style != MsgStyle::Ok;
    QMessageBox box(QMessageBox::NoIcon, title.isEmpty() ? kAppTitle : title, text,
                    question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("MsgBox"));
    if (style == MsgStyle::YesNoDefaultNo) box.setDefaultButton(QMessageBox::No);
    const int answer = box.exec();
    // Give the focus back to the window the box stood over, whatever the window manager does.
    if (parent && parent->isVisible()) parent->window()->activateWindow();
    if (style == MsgStyle::Ok) return MsgAnswer::Ok;
    return answer == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
}

} // namespace pylon
