#pragma once
// Typing into the windows with real key events, accented letters included.
#include <QString>
#include <QStringList>

class QWidget;
class QLineEdit;

namespace pylon::test {

void typeText(QWidget* w, const QString& text);
void pressEnter(QWidget* w);
// Types each cell into the line pointer followed by Enter; a null QString presses Enter alone (keeps the
// proposal in the amount column).
void typeLine(QLineEdit* pointer, const QStringList& cells);

} // namespace pylon::test
