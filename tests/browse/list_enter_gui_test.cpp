// Enter typed in the list window picks the selected row exactly as a double-click on it does, in every
// list; with no row selected it does nothing.
#include "browse/form2.h"
#include "browse/list_window.h"
#include "editing/edit_mode.h"
#include "support/gui_fixture.h"
#include "support/list_driver.h"

#include <QTest>
#include <functional>

using namespace pylon;
using namespace pylon::test;

namespace {

// Clients 7 (on account) and 8; invoices 3 and 7.
class ListEnter : public EditorTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(file.exec(QStringLiteral(
            "INSERT INTO CliEC VALUES (7, 1, 0), (8, 0, 0);"
            "INSERT INTO Facture VALUES (3, '2004-01-04', 7, 'Alami SARL', 'Rue 1', 'Facture', 0, 0),"
            " (7, '2004-01-08', 8, 'Bennani', 'Rue 2', 'Facture', 0, 0);"
            "INSERT INTO DetFact VALUES (3, ' ', '1', 'x', '1,00', '1,00'), (7, ' ', '1', 'y', '1,00', "
            "'1,00');")));
        start();
    }
    Form2& form2() const { return listWindow(*m); }
    ListColumn* list(int i) const { return form2().findChild<ListColumn*>(QStringLiteral("List%1").arg(i)); }
    void open(QPushButton* command) {
        QTest::mouseClick(command, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form2()));
    }
};

TEST_F(ListEnter, EnterOnASelectedRowPicksItAsADoubleClickDoes) {
    const struct {
        const char* how;
        std::function<void()> arrange;
        int column, row; // the row clicked first; -1 for none
        Qt::Key key;
        QString numFact, numCli; // a null number: the editor keeps the document it showed
        bool listStays;
    } cases[] = {
        {"a document shown", [&] { open(ui().Command7); }, 3, 1, Qt::Key_Return, "7", "8", true},
        {"the keypad's Enter", [&] { open(ui().Command7); }, 1, 0, Qt::Key_Enter, "3", "7", true},
        {"a client's first document", [&] { open(ui().Command9); }, 2, 1, Qt::Key_Return, "7", "8", true},
        {"a client into the entry's header",
         [&] {
             enterEditMode(*m, true);
             open(ui().Command9);
         },
         2, 0, Qt::Key_Return, QString(), "7", false},
        {"a document for the credit note",
         [&] {
             open(ui().Command7);
             setListMode(*m, form2(), ListMode::Attach);
         },
         1, 1, Qt::Key_Return, "7", "8", false},
        // During an entry, with no row chosen, a double-click would empty the client fields: Enter leaves
        // them as they are.
        {"no row selected",
         [&] {
             enterEditMode(*m, true);
             ui().txtNumCli->setText("55");
             open(ui().Command9);
         },
         1, -1, Qt::Key_Return, QString(), "55", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        c.arrange();
        const QString before = ui().txtNumFact->text();
        if (c.row >= 0) clickRow(*list(c.column), c.row);
        list(c.column)->setFocus();
        QTest::keyClick(list(c.column), c.key);
        EXPECT_EQ(ui().txtNumFact->text(), c.numFact.isNull() ? before : c.numFact);
        EXPECT_EQ(ui().txtNumCli->text(), c.numCli);
        EXPECT_EQ(form2().isVisible(), c.listStays);
        form2().close();
        if (m->editMode()) QTest::mouseClick(ui().Command10, Qt::LeftButton);
    }
}

} // namespace
