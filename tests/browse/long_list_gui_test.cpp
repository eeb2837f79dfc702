// A list far longer than the window, on a demo business: opened, scrolled to its end by the scroll bar
// of one column or by typing the last number, and its last row double-clicked. The columns end in step, and
// the pick acts on the last row's record.
#include "browse/attach_list.h"
#include "browse/document_list.h"
#include "browse/form2.h"
#include "browse/party_list.h"
#include "support/gui_fixture.h"
#include "support/list_driver.h"

#include <QScrollBar>
#include <QTest>

using namespace pylon;
using namespace pylon::test;

namespace {

struct LongList {
    const char* name;
    DocKind kind;
    enum Opened { Documents, Clients, Attach } opened;
    int scrolledColumn;
    bool typed; // the last row reached by typing its number rather than by the scroll bar
    // The number the editor shows once the last row is picked, asked of the file.
    const char* expectedNumber;
    // The rows read on a thread, as on a file of a million documents, the window showing meanwhile.
    bool behind = false;
};

class LongListEnd : public EditorTest, public ::testing::WithParamInterface<LongList> {
  protected:
    void SetUp() override { file = TempDb(3000); }
    Form2& form2() const { return static_cast<Form2&>(*m->form2); }
};

} // namespace

TEST_P(LongListEnd, TheLastRowIsReachedAndPicked) {
    const LongList& c = GetParam();
    start();
    arrangeKind(c.kind);
    if (c.behind) m->readBehindFrom = 0;
    if (c.opened == LongList::Attach)
        showAttachList(*m);
    else if (c.behind)
        // The buttons' own handlers, so that the event loop, which may bring the rows already, does not
        // run before the reading is looked at.
        (c.opened == LongList::Documents ? Command7_Click : Command9_Click)(*m);
    else
        QTest::mouseClick(c.opened == LongList::Documents ? ui().Command7 : ui().Command9, Qt::LeftButton);
    ASSERT_TRUE(m->form2);
    EXPECT_EQ(form2().pendingRead != nullptr, c.behind);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form2()));
    ASSERT_TRUE(QTest::qWaitFor([this] { return !form2().pendingRead; }, 10000));
    const auto columns = form2().columns();
    ListColumn& scrolled = *columns[size_t(c.scrolledColumn - 1)];
    const int last = scrolled.count() - 1;
    ASSERT_GT(last, 100) << "far more rows than the window shows";

    const QString expected = file.scalar(QString::fromLatin1(c.expectedNumber));
    if (c.typed) {
        scrolled.setFocus();
        QTest::keyClicks(&scrolled, expected);
        EXPECT_EQ(scrolled.ListIndex(), last) << "typing a number goes to its row";
    } else {
        scrolled.verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    }
    for (ListColumn* column : columns) {
        if (!column->isVisible()) continue;
        EXPECT_EQ(column->verticalScrollBar()->value(), scrolled.verticalScrollBar()->value())
            << column->objectName().toStdString();
        EXPECT_TRUE(column->viewport()->rect().contains(column->rowRect(last)))
            << column->objectName().toStdString();
    }
    if (c.opened != LongList::Clients) {
        EXPECT_EQ(columns[0]->text(last), expected);
    }

    const QString pickedRow = columns[0]->text(last);
    doubleClickRow(scrolled, last);
    EXPECT_EQ(ui().txtNumFact->text(), expected) << "row " << last << ": " << pickedRow.toStdString();
    EXPECT_EQ(form2().isVisible(), c.opened != LongList::Attach);
    if (c.opened != LongList::Attach) {
        EXPECT_EQ(columns[0]->ListIndex(), last) << "the row picked stays chosen";
    }
}

INSTANTIATE_TEST_SUITE_P(
    ListWindow, LongListEnd,
    ::testing::Values(
        LongList{"InvoicesByTheirTypes", DocKind::Invoice, LongList::Documents, 4, false,
                 "SELECT max(NumFact) FROM Facture WHERE TypeFact = 'Facture'"},
        LongList{"InvoicesByTypingTheLastNumber", DocKind::Invoice, LongList::Documents, 1, true,
                 "SELECT max(NumFact) FROM Facture WHERE TypeFact = 'Facture'"},
        LongList{"DeliveryNotesByTheirNumbers", DocKind::Delivery, LongList::Documents, 1, false,
                 "SELECT max(NumFact) FROM Facture WHERE TypeFact = 'BL'"},
        // The last client in number, name and address order: the editor shows their first invoice.
        LongList{"ClientsByTheirAddresses", DocKind::Invoice, LongList::Clients, 3, false,
                 "SELECT min(NumFact) FROM Facture WHERE TypeFact = 'Facture' AND NumCli = (SELECT f.NumCli "
                 "FROM Facture f JOIN CliEC c ON c.NumCli = f.NumCli WHERE c.Frs = 0 ORDER BY f.NumCli DESC, "
                 "f.NomCli DESC, f.AdrCli DESC LIMIT 1)"},
        // Every document of every kind; the picked one's header is taken for the credit note.
        LongList{"EveryDocumentForACreditNote", DocKind::CreditNote, LongList::Attach, 2, false,
                 "SELECT max(NumFact) FROM Facture"},
        LongList{"InvoicesReadOnAThread", DocKind::Invoice, LongList::Documents, 1, true,
                 "SELECT max(NumFact) FROM Facture WHERE TypeFact = 'Facture'", true},
        LongList{"ClientsReadOnAThread", DocKind::Invoice, LongList::Clients, 2, false,
                 "SELECT min(NumFact) FROM Facture WHERE TypeFact = 'Facture' AND NumCli = (SELECT f.NumCli "
                 "FROM Facture f JOIN CliEC c ON c.NumCli = f.NumCli WHERE c.Frs = 0 ORDER BY f.NumCli DESC, "
                 "f.NomCli DESC, f.AdrCli DESC LIMIT 1)",
                 true},
        LongList{"EveryDocumentForACreditNoteReadOnAThread", DocKind::CreditNote, LongList::Attach, 3, false,
                 "SELECT max(NumFact) FROM Facture", true}),
    [](const auto& info) { return std::string(info.param.name); });
