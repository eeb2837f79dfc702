#include "support/list_driver.h"

#include "browse/list_column.h"

#include <QTest>

namespace pylon::test {

QStringList rowTexts(const ListColumn& column) {
    QStringList out;
    for (int r = 0; r < column.count(); ++r)
        out << column.text(r);
    return out;
}

void clickRow(ListColumn& column, int row) {
    QTest::mouseClick(column.viewport(), Qt::LeftButton, {}, column.rowRect(row).center());
}

void doubleClickRow(ListColumn& column, int row) {
    clickRow(column, row);
    QTest::mouseDClick(column.viewport(), Qt::LeftButton, {}, column.rowRect(row).center());
}

} // namespace pylon::test
