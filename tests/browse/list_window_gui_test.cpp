// The list window driven through the editor's "Factures" and "Clients" buttons and double-clicks on its rows.
#include "browse/attach_list.h"
#include "browse/form2.h"
#include "browse/list_window.h"
#include "editing/edit_mode.h"
#include "support/gui_fixture.h"
#include "support/list_driver.h"

#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <functional>

using namespace pylon;
using namespace pylon::test;

namespace {

// A document with one line (and one credit-note line when it carries a credit note).
QString doc(int number, int client, const QString& name, const QString& type, bool creditNote = false,
            const QString& address = QStringLiteral("Rue")) {
    QString sql = QStringLiteral("INSERT INTO Facture VALUES (%1, '2004-01-%2', %3, '%4', '%5', '%6', %7, 0);"
                                 "INSERT INTO DetFact VALUES (%1, ' ', '1', 'x', '1,00', '1,00');")
                      .arg(number)
                      .arg(number % 28 + 1, 2, 10, QLatin1Char('0'))
                      .arg(client)
                      .arg(name, address, type)
                      .arg(creditNote ? 1 : 0);
    if (creditNote)
        sql += QStringLiteral("INSERT INTO AVOIR VALUES (%1, ' ', '1', 'r', '1,00', '1,00');").arg(number);
    return sql;
}

// Clients 7 (on account) and 8, supplier 9: invoices 3 and 7, quote 5, purchase order 4. A test adds
// its own rows before it starts the editor.
class ListWindow : public EditorTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(file.exec(
            QStringLiteral("INSERT INTO CliEC VALUES (7, 1, 0), (8, 0, 0), (9, 0, 1);") +
            doc(3, 7, "Alami SARL", "Facture", false, "Rue 1\nCasablanca") + doc(7, 8, "Bennani", "Facture") +
            doc(5, 7, "Alami SARL", "Devis", false, "Rue 1\nCasablanca") + doc(4, 9, "Fournil", "BC")));
    }
    Form2& form2() const { return static_cast<Form2&>(*m->form2); }
    ListColumn* list(int i) const { return form2().findChild<ListColumn*>(QStringLiteral("List%1").arg(i)); }
    QLabel* label(int i) const { return form2().findChild<QLabel*>(QStringLiteral("Label%1").arg(i)); }
    QStringList texts(int i) const { return rowTexts(*list(i)); }
    void open(QPushButton* command) {
        QTest::mouseClick(command, Qt::LeftButton);
        ASSERT_TRUE(m->form2);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form2()));
    }
    void clickRow(int column, int row) { test::clickRow(*list(column), row); }
    // As the system delivers it: the first click chooses the row, the second makes the double-click.
    void doubleClickRow(int column, int row) { test::doubleClickRow(*list(column), row); }
    // Below the last row: no row is hit, and none gets selected.
    void doubleClickBelowRows(int column) {
        QWidget* v = list(column)->viewport();
        QTest::mouseDClick(v, Qt::LeftButton, {}, QPoint(5, v->height() - 3));
    }
    void setKind(DocKind kind) {
        m->kind = kind;
        m->rsDoc = RecordSet::open(m->db, kindInfo(kind).viewSql);
    }
    void enterEditMode() { pylon::enterEditMode(*m, true); }
    void turnWheel(int column, int notches) {
        QWidget* v = list(column)->viewport();
        const QPointF at = v->rect().center();
        QWheelEvent e(at, v->mapToGlobal(at), QPoint(), QPoint(0, -120 * notches), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(v, &e);
    }
    // The shown columns start at the same row, and the selected row sits at the same height in each.
    void expectInStep(const char* how) {
        SCOPED_TRACE(how);
        const int top = list(1)->indexAt(QPoint(2, 2)).row();
        const int row = list(1)->currentRow();
        for (int c = 2; c <= 4; ++c) {
            if (!list(c)->isVisible()) continue;
            EXPECT_EQ(list(c)->verticalScrollBar()->value(), list(1)->verticalScrollBar()->value()) << c;
            EXPECT_EQ(list(c)->indexAt(QPoint(2, 2)).row(), top) << c;
            if (row >= 0) {
                EXPECT_EQ(list(c)->rowRect(row).top(), list(1)->rowRect(row).top()) << c;
            }
        }
    }
    void expectAtTop(const char* how) {
        for (int c = 1; c <= 4; ++c)
            EXPECT_EQ(list(c)->verticalScrollBar()->value(), 0) << how << ", column " << c;
    }
};

} // namespace

TEST_F(ListWindow, OneWindowAtItsSizeCentredWithTheTypeColumnOverTheAddresses) {
    start();
    open(ui().Command7);
    QWidget* w = m->form2.get();
    EXPECT_EQ(w->objectName(), "Form2");
    EXPECT_TRUE(w->isWindow());
    EXPECT_FALSE(w->isModal());
    EXPECT_EQ(w->size(), QSize(658, 280));
    EXPECT_LE((w->frameGeometry().center() - w->screen()->availableGeometry().center()).manhattanLength(), 1);
    EXPECT_EQ(list(3)->geometry(), QRect(276, 16, 381, 262));
    EXPECT_EQ(list(4)->geometry(), QRect(464, 16, 193, 262));
    EXPECT_EQ(w->childAt(600, 100)->parentWidget(), list(4)) << "the type column lies over the addresses";

    // The close box only hides it: the next command brings the same window back.
    w->close();
    EXPECT_FALSE(w->isVisible());
    open(ui().Command9);
    EXPECT_EQ(m->form2.get(), w);
    EXPECT_TRUE(w->isVisible());
}

TEST_F(ListWindow, AKindWithoutDocumentsGivesHeadingsOverEmptyColumns) {
    start();
    setKind(DocKind::Delivery);
    open(ui().Command7);
    EXPECT_EQ(form2().windowTitle(), "Liste des factures.");
    const QStringList headings{"Numéro:", "Date:", "Client N°:", "Type :"};
    for (int c = 1; c <= 4; ++c) {
        EXPECT_EQ(label(c)->text(), headings[c - 1]);
        EXPECT_TRUE(list(c)->isVisible()) << c;
        EXPECT_EQ(list(c)->count(), 0) << c;
    }
}

TEST_F(ListWindow, TwoDocumentsArePickedFromAnyColumnAndTheListStaysOpen) {
    start();
    ASSERT_EQ(ui().txtNumFact->text(), "3");
    open(ui().Command7);
    EXPECT_EQ(texts(1), QStringList({"3", "7"}));
    EXPECT_EQ(texts(2), QStringList({"04/01/2004", "08/01/2004"}));
    EXPECT_EQ(texts(3), QStringList({"7", "8"}));
    EXPECT_EQ(texts(4), QStringList({"Facture", "Facture"}));

    doubleClickRow(3, 1);
    EXPECT_EQ(ui().txtNumFact->text(), "7");
    EXPECT_EQ(ui().txtNomCli->text(), "Bennani");
    doubleClickRow(4, 0);
    EXPECT_EQ(ui().txtNumFact->text(), "3");
    doubleClickRow(2, 1);
    EXPECT_EQ(ui().txtNumFact->text(), "7");
    EXPECT_TRUE(form2().isVisible());

    // During an entry the document list picks nothing.
    enterEditMode();
    doubleClickRow(1, 0);
    EXPECT_EQ(ui().txtNumFact->text(), "7");
    EXPECT_TRUE(form2().isVisible());
}

TEST_F(ListWindow, EveryKindHasTheSameCaptionAndItsOwnTypeColumn) {
    ASSERT_TRUE(
        file.exec(doc(1, 7, "A", "BL") + doc(2, 7, "A", "Facture M") + doc(6, 8, "B", "Facture", true)));
    start();
    const struct {
        DocKind kind;
        QStringList numbers, types;
    } cases[] = {
        {DocKind::Invoice, {"3", "6", "7"}, {"Facture", "Facture", "Facture"}},
        {DocKind::Quote, {"5"}, {"Devis"}},
        {DocKind::Order, {"4"}, {"BC"}},
        {DocKind::Delivery, {"1"}, {"BL"}},
        {DocKind::CreditNote, {"6"}, {"AVOIR"}},
        {DocKind::MonthEnd, {"2"}, {"Facture du mois"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.kind));
        setKind(c.kind);
        open(ui().Command7);
        EXPECT_EQ(form2().windowTitle(), "Liste des factures.");
        EXPECT_EQ(texts(1), c.numbers);
        EXPECT_EQ(texts(4), c.types);
        doubleClickRow(1, int(c.numbers.size()) - 1);
        EXPECT_EQ(ui().txtNumFact->text(), c.numbers.last());
    }
}

TEST_F(ListWindow, AHeaderTheViewDoesNotHoldIsListedButShowsTheCurrentDocumentAgain) {
    // Document 8 has no line, document 9 a client without a CliEC row, document 10 no client at all.
    ASSERT_TRUE(file.exec(
        QStringLiteral("INSERT INTO Facture VALUES (8, '2004-02-01', 7, 'A', 'R', 'Facture', 0, 0);") +
        doc(9, 55, "Z", "Facture") +
        "INSERT INTO Facture VALUES (10, '2004-02-03', NULL, 'N', 'R', 'Facture', 0, 0);"));
    checkFileAfterwards = false;
    start();
    open(ui().Command7);
    EXPECT_EQ(texts(1), QStringList({"3", "7", "8", "9", "10"}));
    EXPECT_EQ(texts(3), QStringList({"7", "8", "7", "55", ""})) << "an empty cell keeps the columns in step";
    EXPECT_EQ(list(4)->count(), 5);

    doubleClickRow(1, 1);
    ASSERT_EQ(ui().txtNumFact->text(), "7");
    for (int row : {2, 3, 4}) {
        doubleClickRow(1, row);
        EXPECT_EQ(ui().txtNumFact->text(), "7") << row;
        EXPECT_EQ(ui().List3->count(), 1) << "document 7 shown again with its line";
    }
}

TEST_F(ListWindow, ARowChosenInOneColumnIsChosenInAll) {
    ASSERT_TRUE(file.exec(doc(10, 7, "A", "Facture") + doc(11, 7, "A", "Facture") +
                          doc(12, 7, "A", "Facture") + doc(13, 7, "A", "Facture") +
                          doc(14, 7, "A", "Facture") + doc(15, 7, "A", "Facture")));
    start();
    open(ui().Command7);
    clickRow(3, 5);
    for (int c = 1; c <= 4; ++c) {
        EXPECT_EQ(list(c)->currentRow(), 5) << c;
        EXPECT_TRUE(list(c)->isRowSelected(5)) << c;
    }
    QTest::keyClick(list(1), Qt::Key_Down);
    for (int c = 1; c <= 4; ++c)
        EXPECT_EQ(list(c)->currentRow(), 6) << c;
}

TEST_F(ListWindow, TheColumnsScrollAsOneAndEachFillStartsAtTheTop) {
    // Sixty more invoices, each under a name of its own so that the client list is as long; one address
    // is far wider than its column.
    QString more;
    for (int n = 10; n < 70; ++n)
        more += doc(n, 7, QStringLiteral("Client %1").arg(n), "Facture", false,
                    n == 69 ? QStringLiteral("Zone industrielle ").repeated(12) : QStringLiteral("Rue"));
    ASSERT_TRUE(file.exec(more));
    start();
    const struct {
        const char* how;
        std::function<void()> move;
    } moves[] = {
        {"the wheel over the dates", [&] { turnWheel(2, 4); }},
        {"a page down in the types",
         [&] {
             clickRow(4, 0);
             QTest::keyClick(list(4), Qt::Key_PageDown); // to the last row in view
             QTest::keyClick(list(4), Qt::Key_PageDown);
         }},
        {"the last row from the numbers",
         [&] {
             clickRow(1, 2);
             QTest::keyClick(list(1), Qt::Key_End);
         }},
        {"typing a number", [&] { QTest::keyClicks(list(1), QStringLiteral("65")); }},
        {"a click on a half-hidden row",
         [&] { clickRow(3, list(3)->indexAt(list(3)->viewport()->rect().bottomLeft()).row()); }},
    };
    for (const auto& step : moves) {
        open(ui().Command7);
        expectAtTop("a new document list");
        step.move();
        EXPECT_GT(list(1)->verticalScrollBar()->value(), 0) << step.how;
        expectInStep(step.how);
    }

    // The client list, its widest address included, and the attach list.
    open(ui().Command9);
    expectAtTop("the client list after a scrolled document list");
    clickRow(3, 0);
    QTest::keyClick(list(3), Qt::Key_End);
    EXPECT_EQ(list(3)->currentRow(), list(3)->count() - 1);
    expectInStep("the end of the client list");
    const int wide = texts(2).indexOf(QStringLiteral("Client 69 *"));
    ASSERT_GE(wide, 0);
    EXPECT_EQ(list(3)->rowToolTip(wide), QStringLiteral("Zone industrielle ").repeated(12))
        << "an address cut at the column's edge reads whole in its tip";
    showAttachList(*m);
    expectAtTop("the attach list after a scrolled client list");
    turnWheel(1, 10);
    expectInStep("the attach list");
}

TEST_F(ListWindow, AColumnShorterThanTheRowKeepsItsSelection) {
    start();
    setKind(DocKind::Quote);
    open(ui().Command7);
    clickRow(1, 0);
    open(ui().Command9);
    ASSERT_EQ(list(1)->count(), 2);
    clickRow(1, 1);
    EXPECT_EQ(list(3)->currentRow(), 1);
    EXPECT_EQ(list(4)->currentRow(), 0) << "the hidden type column holds one row only";
}

TEST_F(ListWindow, TheAttachListHandsThePickedNumberOverOnlyWhenARowIsSelected) {
    start();
    open(ui().Command7);
    setListMode(*m, form2(), ListMode::Attach);
    doubleClickBelowRows(1);
    EXPECT_TRUE(form2().isVisible()) << "no row, nothing to attach to";
    doubleClickRow(2, 1);
    EXPECT_FALSE(form2().isVisible());
    EXPECT_EQ(ui().txtNumFact->text(), "7") << "the picked document's header, for its credit note";
    EXPECT_TRUE(ui().Command10->isEnabled());
}

TEST_F(ListWindow, ClientsAreListedWithTheOnAccountMarkAndNoTypeColumn) {
    start();
    open(ui().Command7);
    open(ui().Command9);
    EXPECT_EQ(form2().windowTitle(), "Liste des clients.");
    EXPECT_EQ(label(1)->text(), "Numéro:");
    EXPECT_EQ(label(2)->text(), "Nom:");
    EXPECT_EQ(label(3)->text(), "Adresse:");
    EXPECT_EQ(texts(1), QStringList({"7", "8"}));
    EXPECT_EQ(texts(2), QStringList({"Alami SARL *", "Bennani"}));
    EXPECT_EQ(texts(3), QStringList({"Rue 1, Casablanca", "Rue"}));
    EXPECT_FALSE(list(4)->isVisible());
    EXPECT_FALSE(label(4)->isVisible());
    EXPECT_EQ(list(4)->count(), 2) << "the type column keeps its rows while hidden";

    setKind(DocKind::Quote);
    open(ui().Command7);
    EXPECT_TRUE(list(4)->isVisible());
    EXPECT_TRUE(label(4)->isVisible());
    EXPECT_EQ(texts(4), QStringList({"Devis"}));
}

TEST_F(ListWindow, OutsideEditModeAClientPickShowsItsFirstDocumentOfTheKind) {
    ASSERT_TRUE(file.exec(doc(11, 8, "Bennani", "Facture")));
    start();
    open(ui().Command9);
    doubleClickRow(2, 1);
    EXPECT_EQ(ui().txtNumFact->text(), "7") << "the lowest number of client 8";
    EXPECT_TRUE(form2().isVisible());

    // Client 8 has no quote: the editor stays on the quote it shows.
    setKind(DocKind::Quote);
    open(ui().Command9);
    doubleClickRow(1, 1);
    EXPECT_EQ(ui().txtNumFact->text(), "5");
    EXPECT_EQ(ui().txtNumCli->text(), "7");
}

TEST_F(ListWindow, InEditModeAClientPickFillsThePartyFieldsAndPutsTheListAway) {
    start();
    enterEditMode();
    open(ui().Command9);
    doubleClickRow(2, 0);
    EXPECT_EQ(ui().txtNumCli->text(), "7");
    EXPECT_EQ(ui().txtNomCli->text(), "Alami SARL");
    EXPECT_EQ(ui().txtAdrCli->toPlainText(), "Rue 1\nCasablanca");
    EXPECT_TRUE(ui().Check1->isChecked());
    EXPECT_FALSE(form2().isVisible());
    EXPECT_EQ(ui().txtNumFact->text(), "3") << "the document is not changed";

    open(ui().Command9);
    doubleClickRow(3, 1);
    EXPECT_EQ(ui().txtNumCli->text(), "8");
    EXPECT_EQ(ui().txtNomCli->text(), "Bennani");
    EXPECT_FALSE(ui().Check1->isChecked());

    // No row chosen: the fields are emptied.
    ui().Check1->setChecked(true);
    open(ui().Command9);
    doubleClickBelowRows(1);
    EXPECT_TRUE(ui().txtNumCli->text().isEmpty());
    EXPECT_TRUE(ui().txtNomCli->text().isEmpty());
    EXPECT_TRUE(ui().txtAdrCli->toPlainText().isEmpty());
    EXPECT_FALSE(ui().Check1->isChecked());
    EXPECT_FALSE(form2().isVisible());
}

TEST_F(ListWindow, NamesEndingWithAStarAndNamesWrittenTwoWaysAreKeptApart) {
    ASSERT_TRUE(file.exec(QStringLiteral("INSERT INTO CliEC VALUES (1, 0, 0), (2, 1, 0);") +
                          doc(1, 1, "Étoile*", "Facture") + doc(2, 2, "Star*", "Facture") +
                          doc(6, 2, "Star* SA", "Facture")));
    start();
    open(ui().Command9);
    EXPECT_EQ(texts(1), QStringList({"1", "2", "2", "7", "8"}));
    EXPECT_EQ(texts(2).mid(0, 3), QStringList({"Étoile*", "Star* *", "Star* SA *"}));
    enterEditMode();
    const struct {
        int row;
        QString name;
        bool onAccount;
    } picks[] = {{0, "Étoile*", false}, {1, "Star*", true}, {2, "Star* SA", true}};
    for (const auto& p : picks) {
        open(ui().Command9);
        doubleClickRow(2, p.row);
        EXPECT_EQ(ui().txtNomCli->text(), p.name);
        EXPECT_EQ(ui().Check1->isChecked(), p.onAccount) << p.row;
    }
}

TEST_F(ListWindow, ThePurchaseOrderKindListsTheSuppliers) {
    start();
    setKind(DocKind::Order);
    open(ui().Command9);
    EXPECT_EQ(form2().windowTitle(), "Liste des fournisseurs.");
    EXPECT_EQ(texts(1), QStringList({"9"}));
    EXPECT_EQ(texts(2), QStringList({"Fournil"}));
    doubleClickRow(1, 0);
    EXPECT_EQ(ui().txtNumFact->text(), "4");

    // During an entry a supplier pick changes nothing.
    enterEditMode();
    ui().txtNumCli->clear();
    doubleClickRow(2, 0);
    EXPECT_TRUE(ui().txtNumCli->text().isEmpty());
    EXPECT_TRUE(form2().isVisible());
}
