#pragma once
// The program's one-line question: a modal box with a prompt, a text field holding a proposed answer,
// OK and Cancel.
#include <QString>
#include <optional>

class QWidget;

namespace pylon {

// The text typed (possibly empty), or nullopt when the user cancels. An empty title gives the
// application's title.
std::optional<QString> InputBox(QWidget* parent, const QString& prompt, const QString& title = QString(),
                                const QString& defaultText = QString());

} // namespace pylon
