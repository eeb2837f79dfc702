#include "support/gui_fixture.h"

#include <QTest>

using namespace pylon;
using namespace pylon::test;

namespace {

class Deletion : public EditorTest {
  protected:
    void SetUp() override {
        // Client 7 has invoices 10 (two lines, a credit note of two lines) and 11 (a credit note), delivery
        // note 40, quote 50 and month-end invoice 60; client 8 has only invoice 12; supplier 9 only order 30.
        ASSERT_TRUE(file.exec(QStringLiteral(
            "INSERT INTO CliEC VALUES (7, 1, 0), (8, 0, 0), (9, 0, 1);"
            "INSERT INTO Facture VALUES (10, '2005-03-05', 7, 'Dupont', 'a', 'Facture', 1, 0),"
            " (11, '2005-03-06', 7, 'Dupont', 'a', 'Facture', 1, 0),"
            " (12, '2005-03-07', 8, 'Martin', 'b', 'Facture', 0, 0),"
            " (30, '2005-03-08', 9, 'Fourn', 'c', 'BC', 0, 0),"
            " (40, '2005-03-09', 7, 'Dupont', 'a', 'BL', 0, 0),"
            " (50, '2005-03-10', 7, 'Dupont', 'a', 'Devis', 0, 0),"
            " (60, '2005-03-31', 7, 'Dupont', 'a', 'Facture M', 0, 0);"
            "INSERT INTO DetFact VALUES (10, '1', '1', 'x', '1,00', '1,00'), (10, '2', '1', 'y', '1,00', "
            "'1,00'), (11, '1', '1', 'x', '1,00', '1,00'), (12, '1', '1', 'x', '1,00', '1,00'),"
            " (30, '1', '1', 'x', '1,00', '1,00'), (40, '1', '1', 'x', '1,00', '1,00'),"
            " (50, '1', '1', 'x', '1,00', '1,00'), (60, '1', '1', 'x', '1,00', '1,00');"
            "INSERT INTO AVOIR VALUES (10, '1', '1', 'r', '1,00', '1,00'), (10, '2', '1', 's', '1,00', "
            "'1,00'), (11, '1', '1', 'r', '1,00', '1,00');")));
        start();
    }

    void lookUp(const QString& number) {
        ui().txtNumFact->setText(number);
        QTest::keyClick(ui().txtNumFact, Qt::Key_Return);
        ASSERT_EQ(ui().txtNumFact->text(), number);
    }
    void remove(const QString& answer) {
        boxes.answers = QStringList{answer};
        QTest::mouseClick(ui().Command8, Qt::LeftButton);
    }
    // The whole file as canonical text: comparing it before and after shows any change, in any table.
    QString everything() const { return dumpOf(file.path()); }
};

} // namespace

TEST_F(Deletion, AnEmptyNumberAsksNothingAndChangesNothing) {
    const QString before = everything();
    ui().txtNumFact->clear();
    remove("&Oui");
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(everything(), before);
    EXPECT_TRUE(ui().txtNumFact->text().isEmpty()) << "no refresh either";
}

TEST_F(Deletion, EachKindAsksItsOwnQuestionAndNoKeepsEverything) {
    const QString before = everything();
    const struct {
        DocKind kind;
        const char* shown;
        const char* question;
    } cases[] = {
        {DocKind::Invoice, "10", "Supprimer la facture N° 10 ?"},
        {DocKind::Quote, "50", "Supprimer le devis N° 50 ?"},
        {DocKind::Order, "30", "Supprimer le B.C. N° 30 ?"},
        {DocKind::Delivery, "40", "Supprimer le B.L. N° 40 ?"},
        {DocKind::CreditNote, "10", "Supprimer l'Avoir N° 10 ?"},
        {DocKind::MonthEnd, "60", "Supprimer la Facture du mois N° 60 ?"},
    };
    for (const auto& c : cases) {
        arrangeKind(c.kind);
        ASSERT_EQ(ui().txtNumFact->text(), c.shown);
        boxes.shown.clear();
        remove("&Non");
        ASSERT_EQ(boxes.shown.size(), 1u) << c.question;
        EXPECT_EQ(boxes.shown[0].title, "Attention !");
        EXPECT_EQ(boxes.shown[0].text, QString::fromUtf8(c.question));
        EXPECT_EQ(everything(), before) << c.question;
        EXPECT_EQ(ui().txtNumFact->text(), c.shown);
    }
}

TEST_F(Deletion, EnterOnTheQuestionAnswersNo) {
    const QString before = everything();
    remove(BoxAnswerer::kEnter);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(everything(), before) << "a key pressed out of habit deletes nothing";
}

TEST_F(Deletion, ADocumentGoesWithItsLinesAndCreditNoteEvenWithoutTheFilesTrigger) {
    for (bool trigger : {true, false}) {
        SCOPED_TRACE(trigger ? "with the trigger" : "without the trigger");
        if (!trigger) {
            ASSERT_TRUE(m->db.exec(QStringLiteral("DROP TRIGGER pylon_lines_follow_document")));
        }
        const QString number = trigger ? QStringLiteral("10") : QStringLiteral("11");
        arrangeKind(DocKind::Invoice);
        lookUp(number);
        remove("&Oui");
        for (const char* table : {"Facture", "DetFact", "AVOIR"})
            EXPECT_EQ(count(QString::fromLatin1(table), "NumFact = " + number), "0") << table;
        EXPECT_EQ(count("CliEC", "NumCli = 7"), "1") << "client 7 still has documents";
        EXPECT_EQ(ui().txtNumFact->text(), "12") << "the last invoice, not a neighbour";
        EXPECT_EQ(ui().List1->count(), 1);
    }
    EXPECT_EQ(count("DetFact", "1"), "5");
}

TEST_F(Deletion, APartysLastDocumentTakesItsRowWithIt) {
    lookUp("12");
    remove("&Oui");
    EXPECT_EQ(count("Facture", "NumFact = 12"), "0");
    EXPECT_EQ(count("CliEC", "NumCli = 8"), "0");
    EXPECT_EQ(ui().txtNumFact->text(), "11");

    arrangeKind(DocKind::Order);
    remove("&Oui");
    EXPECT_EQ(count("Facture", "NumFact = 30"), "0");
    EXPECT_EQ(count("CliEC", "NumCli = 9"), "0") << "the supplier's row";
    EXPECT_TRUE(ui().txtNumFact->text().isEmpty()) << "no order left to show";
    EXPECT_EQ(count("CliEC", "1"), "1");
}

TEST_F(Deletion, ACreditNoteGoesAndItsInvoiceStays) {
    arrangeKind(DocKind::CreditNote);
    ASSERT_EQ(ui().txtNumFact->text(), "10");
    remove("&Oui");
    EXPECT_EQ(count("AVOIR", "NumFact = 10"), "0");
    EXPECT_EQ(count("Facture", "NumFact = 10 AND Avoir = 0 AND TypeFact = 'Facture'"), "1");
    EXPECT_EQ(count("DetFact", "NumFact = 10"), "2");
    EXPECT_EQ(count("AVOIR", "NumFact = 11"), "1") << "the other credit note";
    EXPECT_EQ(ui().txtNumFact->text(), "11");

    arrangeKind(DocKind::Invoice);
    lookUp("10");
    EXPECT_FALSE(ui().Label15->isVisibleTo(editor.get())) << "no credit-note marker left";
}

TEST_F(Deletion, AFailedDeletionChangesNothingAndSaysSo) {
    ASSERT_TRUE(m->db.exec(QStringLiteral("CREATE TRIGGER keep_parties BEFORE DELETE ON CliEC BEGIN "
                                          "SELECT RAISE(ABORT, 'client protégé'); END;")));
    const QString before = everything();
    lookUp("12");
    remove("&Oui");
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].title, "Message");
    EXPECT_EQ(boxes.shown[1].text, "L'opération n'a pas pu être enregistrée : client protégé");
    EXPECT_EQ(everything(), before) << "the document and its lines are back";
    EXPECT_EQ(ui().txtNumFact->text(), "12");
    EXPECT_EQ(ui().List1->count(), 1);
}

// The client number field may have been typed over since the document was shown: the party checked is
// the deleted document's own, so no client row is left without a document.
TEST_F(Deletion, ATypedOverClientNumberStillTakesTheRightPartyRow) {
    lookUp(QStringLiteral("12"));
    QTest::keyClicks(ui().txtNumCli, QStringLiteral("5")); // now reads 85
    remove(QStringLiteral("&Oui"));
    EXPECT_EQ(count(QStringLiteral("Facture"), QStringLiteral("NumFact = 12")), "0");
    EXPECT_EQ(count(QStringLiteral("CliEC"), QStringLiteral("NumCli = 8")), "0");
}
