#pragma once
// The list window's columns driven as the user does: a click where a row stands, a double-click made of
// the click that chooses the row and the double-click itself. Rows are read through the columns' own
// accessors, as the program reads them.
#include <QStringList>

namespace pylon {
class ListColumn;
}

namespace pylon::test {

// Every row's text, top to bottom.
QStringList rowTexts(const ListColumn& column);
// Where the row stands now, in view or not.
void clickRow(ListColumn& column, int row);
void doubleClickRow(ListColumn& column, int row);

} // namespace pylon::test
