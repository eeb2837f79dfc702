#include "editor/show_document.h"
#include "support/gui_fixture.h"

#include <QTest>

using namespace pylon;
using namespace pylon::test;

namespace {

class ShowDocument : public EditorTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(file.exec(QStringLiteral(
            "INSERT INTO CliEC VALUES (7, 1, 0), (8, 0, 0);"
            "INSERT INTO Facture VALUES (5, '2004-01-31', 7, 'Alami SARL', 'Rue 1\nCasablanca', 'Facture', "
            "0, 0);"
            "INSERT INTO DetFact VALUES (5, 'R1', '1', 'Ordinateur', '1000,00', '1000,00');"
            "INSERT INTO DetFact VALUES (5, ' ', '2,4', 'Ramette', '12', '28,80');"
            "INSERT INTO Facture VALUES (6, '2004-02-01', 8, 'Bennani', 'Rue 2', 'Facture', 1, 1);"
            "INSERT INTO DetFact VALUES (6, ' ', ' ', 'Vide', ' ', ' ');"
            "INSERT INTO DetFact VALUES (6, ' ', '1', 'Serveur', '123456', '123456,00');"
            "INSERT INTO AVOIR VALUES (6, 'A', '1', 'Retour', '10,00', '10,00');")));
    }
};

} // namespace

TEST_F(ShowDocument, ShowsTheFirstInvoiceWithTotalsAndWords) {
    start();
    EXPECT_EQ(ui().txtNumFact->text(), "5");
    EXPECT_EQ(ui().txtDateFact->text(), "31/01/2004");
    EXPECT_EQ(ui().txtNumCli->text(), "7");
    EXPECT_EQ(ui().txtNomCli->text(), "Alami SARL");
    EXPECT_EQ(ui().txtAdrCli->toPlainText(), "Rue 1\nCasablanca");
    EXPECT_EQ(column(1), QStringList({"R1", " "}));
    EXPECT_EQ(column(2), QStringList({"1", "2,4"}));
    EXPECT_EQ(column(3), QStringList({"Ordinateur", "Ramette"}));
    EXPECT_EQ(column(4), QStringList({"  1000,00", "    12,00"}));
    EXPECT_EQ(column(5), QStringList({"  1000,00", "    28,80"}));
    EXPECT_EQ(ui().txtTotalHT->text(), "  1028,80");
    EXPECT_EQ(ui().txtTVA->text(), "   205,76");
    EXPECT_EQ(ui().txtTotalTTC->text(), "  1234,56");
    EXPECT_EQ(ui().txtSomme->toPlainText(),
              "Mille deux cent trente quatre dirhams\nEt Cinquante six centimes.");
    EXPECT_TRUE(ui().Check1->isChecked()) << "client 7 is on account";
    EXPECT_TRUE(ui().Command16->isEnabled());
    EXPECT_FALSE(ui().Check1->isEnabled()) << "the box only shows the flag outside an entry";
    EXPECT_FALSE(ui().Label15->isVisible());
    EXPECT_FALSE(ui().Label17->isVisible());
    EXPECT_EQ(m->CurrentLine, 0);
}

TEST_F(ShowDocument, EmptyCellsBigTotalsAndBothMarkers) {
    start();
    ASSERT_TRUE(m->rsDoc->MoveLast());
    ShowCurrentDocument(*m);
    EXPECT_EQ(ui().txtNumFact->text(), "6");
    EXPECT_EQ(column(4), QStringList({"      ", "123456,00"}));
    EXPECT_EQ(column(5), QStringList({"      ", "123456,00"}));
    EXPECT_EQ(ui().txtTotalHT->text(), "123456,00");
    EXPECT_EQ(ui().txtTVA->text(), " 24691,20");
    EXPECT_EQ(ui().txtTotalTTC->text(), "148147,20");
    EXPECT_EQ(ui().txtSomme->toPlainText(),
              "Cent quarante huit mille cent quarante sept dirhams\nEt Vingt centimes.");
    EXPECT_FALSE(ui().Check1->isChecked());
    EXPECT_FALSE(ui().Command16->isEnabled());
    EXPECT_TRUE(ui().Label15->isVisibleTo(editor.get())) << "credit note attached, invoice kind";
    EXPECT_TRUE(ui().Label17->isVisibleTo(editor.get())) << "cancelled";
}

TEST_F(ShowDocument, CreditNoteKindShowsTheCreditLinesWithoutItsMarker) {
    start();
    arrangeKind(DocKind::CreditNote);
    EXPECT_EQ(ui().txtNumFact->text(), "6");
    EXPECT_EQ(column(3), QStringList({"Retour"}));
    EXPECT_EQ(ui().txtTotalTTC->text(), "    12,00");
    EXPECT_EQ(ui().txtSomme->toPlainText(), "Douze dirhams.");
    EXPECT_FALSE(ui().Label15->isVisibleTo(editor.get()));
    EXPECT_TRUE(ui().Label17->isVisibleTo(editor.get()));
}

TEST_F(ShowDocument, AKindWithoutDocumentsShowsAnEmptyEditor) {
    start();
    arrangeKind(DocKind::Quote);
    for (QLineEdit* f : {ui().txtNumFact, ui().txtDateFact, ui().txtNumCli, ui().txtNomCli})
        EXPECT_TRUE(f->text().isEmpty()) << f->objectName().toStdString();
    EXPECT_TRUE(ui().txtAdrCli->toPlainText().isEmpty());
    EXPECT_EQ(ui().List1->count() + ui().List5->count(), 0);
    for (QLineEdit* t : {ui().txtTotalHT, ui().txtTVA, ui().txtTotalTTC})
        EXPECT_EQ(t->text(), "     0,00");
    EXPECT_TRUE(ui().txtSomme->toPlainText().isEmpty());
    EXPECT_FALSE(ui().Label15->isVisibleTo(editor.get()));
    EXPECT_FALSE(ui().Label17->isVisibleTo(editor.get()));
    EXPECT_FALSE(ui().Check1->isChecked());
    EXPECT_FALSE(ui().Command16->isEnabled());
    EXPECT_TRUE(boxes.shown.empty()) << "an empty kind is not an empty database";
}

TEST_F(ShowDocument, ATotalBeyondTheRangeKeepsItsText) {
    // Invoice 9: two lines whose sum passes the range of amounts. Invoice 10: a sum that fits, but not once
    // the tax is added.
    ASSERT_TRUE(file.exec(QStringLiteral(
        "INSERT INTO Facture VALUES (9, '2004-02-02', 8, 'B', 'b', 'Facture', 0, 0);"
        "INSERT INTO DetFact VALUES (9, ' ', '1', 'x', '500000000000000', '500000000000000,00');"
        "INSERT INTO DetFact VALUES (9, ' ', '1', 'y', '500000000000000', '500000000000000,00');"
        "INSERT INTO Facture VALUES (10, '2004-02-03', 8, 'B', 'b', 'Facture', 0, 0);"
        "INSERT INTO DetFact VALUES (10, ' ', '1', 'x', '800000000000000', '800000000000000,00');")));
    start();
    ASSERT_EQ(ui().txtTotalTTC->text(), "  1234,56") << "invoice 5";
    ASSERT_TRUE(m->rsDoc->FindFirst(QStringLiteral("NumFact=9")));
    ShowCurrentDocument(*m);
    EXPECT_EQ(column(3), QStringList({"x", "y"}));
    EXPECT_EQ(ui().txtTotalHT->text(), "  1028,80");
    EXPECT_EQ(ui().txtTVA->text(), "   205,76");
    EXPECT_EQ(ui().txtTotalTTC->text(), "  1234,56");
    ASSERT_TRUE(m->rsDoc->FindFirst(QStringLiteral("NumFact=10")));
    ShowCurrentDocument(*m);
    EXPECT_EQ(ui().txtTotalHT->text(), "800000000000000,00");
    EXPECT_EQ(ui().txtTVA->text(), "160000000000000,00");
    EXPECT_EQ(ui().txtTotalTTC->text(), "  1234,56");
}
