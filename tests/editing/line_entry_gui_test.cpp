#include "editing/line_entry.h"
#include "support/gui_fixture.h"
#include "support/typing.h"

#include <QApplication>
#include <QDate>
#include <QTest>

using namespace pylon;
using namespace pylon::test;

namespace {

class LineEntry : public EditorTest {
  protected:
    void begin() {
        start();
        editor->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
        QTest::qWait(20);
        boxes.shown.clear(); // the empty file's own message at start
        QTest::mouseClick(ui().Command5, Qt::LeftButton);
    }
    QLineEdit* p() const { return ui().txtPointeur; }
};

} // namespace

TEST_F(LineEntry, AjouterBeginsAnEmptyEntryOnTheFirstCell) {
    begin();
    EXPECT_EQ(ui().txtNumFact->text(), "1") << "an empty file starts the sequence at 1";
    EXPECT_EQ(ui().txtDateFact->text(), QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
    EXPECT_TRUE(p()->isVisible());
    EXPECT_EQ(p()->geometry(), QRect(pointer::kNbLeft, pointer::kFirstTop, pointer::kNarrow, p()->height()));
    EXPECT_EQ(QApplication::focusWidget(), p());
    for (QLineEdit* t : {ui().txtTotalHT, ui().txtTVA, ui().txtTotalTTC})
        EXPECT_EQ(t->text(), "0");
    EXPECT_TRUE(ui().Command6->isEnabled() && ui().Command10->isEnabled() && ui().Check1->isEnabled());
    EXPECT_FALSE(ui().Check1->isChecked());

    // Typed cells, then "Aj&outer" again: everything typed is dropped and the pointer goes home.
    typeLine(p(), {"R1", "2"});
    QTest::mouseClick(ui().Command5, Qt::LeftButton);
    EXPECT_EQ(ui().List1->count() + ui().List2->count(), 0);
    EXPECT_EQ(p()->x(), pointer::kNbLeft);
}

TEST_F(LineEntry, CellsWalkTheColumnsWithCommaAndProposal) {
    begin();
    typeText(p(), QStringLiteral("N.1"));
    pressEnter(p());
    EXPECT_EQ(p()->x(), pointer::kQtLeft);
    typeText(p(), QStringLiteral("3.5"));
    EXPECT_EQ(p()->text(), "3,5") << "a point typed in a number column is a comma";
    p()->clear();
    typeText(p(), QStringLiteral("3"));
    pressEnter(p());
    EXPECT_EQ(p()->geometry().size(), QSize(pointer::kWide, p()->height()))
        << "the designation pointer is wide";
    typeText(p(), QStringLiteral("a.b écrous"));
    pressEnter(p());
    typeText(p(), QStringLiteral("10"));
    pressEnter(p());
    EXPECT_EQ(ui().List4->item(0)->text(), "10,00");
    EXPECT_EQ(p()->text(), "30,00") << "quantity times unit price is proposed";
    pressEnter(p());
    EXPECT_EQ(ui().List1->item(0)->text(), "N.1");
    EXPECT_EQ(ui().List3->item(0)->text(), "a.b écrous");
    EXPECT_EQ(ui().List5->item(0)->text(), "30,00");
    EXPECT_EQ(ui().txtTotalHT->text(), "30,00");
    EXPECT_EQ(ui().txtTVA->text(), "6,00");
    EXPECT_EQ(ui().txtTotalTTC->text(), "36,00");
    EXPECT_EQ(p()->pos(), QPoint(pointer::kNbLeft, pointer::kFirstTop + pointer::kRowHeight));
    EXPECT_EQ(m->CurrentLine, 1);

    // A second line whose amount is not a number: stored as typed, totals unchanged.
    typeLine(p(), {"", "x", "y", "z", "abc"});
    EXPECT_EQ(ui().List5->item(1)->text(), "abc");
    EXPECT_EQ(ui().List4->item(1)->text(), "z");
    EXPECT_EQ(ui().txtTotalHT->text(), "30,00");
    // The tax is taken on the rounded total; the total with tax adds the two texts.
    typeLine(p(), {"", "1", "w", "0,05", QString()});
    EXPECT_EQ(ui().txtTotalHT->text(), "30,05");
    EXPECT_EQ(ui().txtTVA->text(), "6,01");
    EXPECT_EQ(ui().txtTotalTTC->text(), "36,06");

    // A total typed over in its box is what the next line adds to, as any text the box shows.
    ui().txtTotalHT->selectAll();
    typeText(ui().txtTotalHT, QStringLiteral("100"));
    typeLine(p(), {"", "1", "v", "10", QString()});
    EXPECT_EQ(ui().txtTotalHT->text(), "110,00");
    EXPECT_EQ(ui().txtTVA->text(), "22,00");
    EXPECT_EQ(ui().txtTotalTTC->text(), "132,00");
}

TEST_F(LineEntry, TheProposalIsTheExactProductRoundedOnce) {
    begin();
    const struct {
        const char *quantity, *price, *proposed;
    } rows[] = {
        {"0,1249", "0,20", "0,02"},  // 0,02498, not 0,0250 rounded again
        {"0,1249", "0,204", "0,02"}, // the unit price as shown, rounded to the cent
        {"1", "500000000000000", "500000000000000,00"},
        {"99999999999", "99999999999", ""}, // beyond the range of amounts
    };
    for (const auto& r : rows) {
        typeLine(p(), {"", r.quantity, "d", r.price});
        EXPECT_EQ(p()->text(), r.proposed) << r.quantity << " x " << r.price;
        pressEnter(p());
    }
}

TEST_F(LineEntry, ARunningTotalBeyondTheRangeKeepsItsText) {
    begin();
    const struct {
        QStringList amounts;
        const char *ht, *tva, *ttc;
    } rows[] = {
        {{"500000000000000", "500000000000000"},
         "500000000000000,00",
         "100000000000000,00",
         "600000000000000,00"},
        {{"800000000000000"}, "800000000000000,00", "160000000000000,00", "0"}, // only the total with tax
    };
    for (const auto& r : rows) {
        QTest::mouseClick(ui().Command5, Qt::LeftButton);
        for (const QString& amount : r.amounts)
            typeLine(p(), {"", "1", "d", "1", amount});
        EXPECT_EQ(ui().txtTotalHT->text(), r.ht);
        EXPECT_EQ(ui().txtTVA->text(), r.tva);
        EXPECT_EQ(ui().txtTotalTTC->text(), r.ttc);
    }
}

TEST_F(LineEntry, DesignationStopsAtTheMargin) {
    begin();
    typeLine(p(), {"", "1"});
    typeText(p(), QString(54, QLatin1Char('D')));
    EXPECT_EQ(p()->text().size(), 54);
    pressEnter(p());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Veillez ne pas dépasser les marges !");
    EXPECT_EQ(boxes.shown[0].title, "Gestionnaire de la facture");
    EXPECT_EQ(p()->text().size(), 53) << "the key became a Backspace";
    EXPECT_EQ(p()->x(), pointer::kDesignLeft) << "the pointer did not move on";
    pressEnter(p());
    EXPECT_EQ(ui().List3->item(0)->text().size(), 53);
    EXPECT_EQ(p()->x(), pointer::kPuLeft);
}

TEST_F(LineEntry, TheThirtySecondLineEndsTheEntry) {
    begin();
    for (int i = 0; i < 32; ++i)
        typeLine(p(), {QString::number(i), "1", "article", "1", QString()});
    EXPECT_EQ(ui().List5->count(), 32);
    EXPECT_FALSE(p()->isVisible());
    EXPECT_EQ(p()->pos(), QPoint(pointer::kNbLeft, pointer::kFirstTop));
    EXPECT_EQ(QApplication::focusWidget(), ui().Command6);
    EXPECT_EQ(m->CurrentLine, 0);
    EXPECT_EQ(ui().txtTotalHT->text(), "32,00");
    EXPECT_TRUE(ui().Command6->isEnabled());
}

TEST_F(LineEntry, EnterWalksTheHeader) {
    begin();
    ui().txtNumFact->setFocus();
    pressEnter(ui().txtNumFact);
    EXPECT_EQ(QApplication::focusWidget(), ui().txtDateFact);
    pressEnter(ui().txtDateFact);
    EXPECT_EQ(QApplication::focusWidget(), ui().txtNumCli);
    pressEnter(ui().txtNumCli);
    EXPECT_EQ(QApplication::focusWidget(), ui().txtNomCli);
    pressEnter(ui().txtNomCli);
    EXPECT_EQ(QApplication::focusWidget(), ui().txtAdrCli);
}

TEST_F(LineEntry, NextNumbersFollowTheirSequences) {
    ASSERT_TRUE(file.exec(
        QStringLiteral("INSERT INTO CliEC VALUES (1, 0, 0);"
                       "INSERT INTO Facture VALUES (14, '2004-01-01', 1, 'A', 'a', 'Facture', 0, 0);"
                       "INSERT INTO Facture VALUES (20, '2004-01-01', 1, 'A', 'a', 'Facture M', 0, 0);"
                       "INSERT INTO Facture VALUES (17, '2004-01-01', 1, 'A', 'a', 'BL', 0, 0);"
                       "INSERT INTO Facture VALUES (3, '2004-01-01', 1, 'A', 'a', 'Devis', 0, 0);"
                       "INSERT INTO DetFact SELECT NumFact, ' ', '1', 'x', '1,00', '1,00' FROM Facture;")));
    start();
    const struct {
        DocKind kind;
        const char* proposed;
    } cases[] = {{DocKind::Invoice, "21"},
                 {DocKind::MonthEnd, "21"},
                 {DocKind::Delivery, "21"},
                 {DocKind::Quote, "4"},
                 {DocKind::Order, "1"}};
    for (const auto& c : cases) {
        m->kind = c.kind;
        QTest::mouseClick(ui().Command5, Qt::LeftButton);
        EXPECT_EQ(ui().txtNumFact->text(), c.proposed) << int(c.kind);
    }
}
