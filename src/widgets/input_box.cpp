#include "widgets/input_box.h"

#include "widgets/messages.h"

#include <QInputDialog>

namespace pylon {

std::optional<QString> InputBox(QWidget* parent, const QString& prompt, const QString& title,
                                const QString& defaultText) {
    QInputDialog box(parent);
    box.setObjectName(QStringLiteral("InputBox"));
    box.setWindowTitle(title.isEmpty() ? kAppTitle : title);
    box.setInputMode(QInputDialog::TextInput);
    box.setLabelText(prompt);
    box.setTextValue(defaultText);
    const bool accepted = box.exec() == QDialog::Accepted;
    // Give the focus back to the window the box stood over, as the message boxes do.
    if (parent && parent->isVisible()) parent->window()->activateWindow();
    if (!accepted) return std::nullopt;
    return box.textValue();
}

} // namespace pylon
