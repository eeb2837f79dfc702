// "&Fact. Annul.": the two questions, what Yes and No write to the file, and the marker.
#include "editor/show_document.h"
#include "support/gui_fixture.h"

#include <QTest>

using namespace pylon;
using namespace pylon::test;

namespace {

class Cancelling : public EditorTest {
  protected:
    void SetUp() override {
        // Invoice 3; invoice 12 already cancelled; invoice 15 with no flag at all and a credit note; quote
        // 20; purchase order 30 from supplier 9.
        ASSERT_TRUE(file.exec(
            QStringLiteral("INSERT INTO CliEC VALUES (7, 0, 0), (8, 1, 0), (9, 0, 1);"
                           "INSERT INTO Facture VALUES (3, '2004-01-02', 7, 'A', 'a', 'Facture', 0, 0);"
                           "INSERT INTO Facture VALUES (12, '2004-01-31', 8, 'B', 'b', 'Facture', 0, 1);"
                           "INSERT INTO Facture VALUES (15, '2004-02-03', 8, 'B', 'b', 'Facture', 1, NULL);"
                           "INSERT INTO Facture VALUES (20, '2004-02-05', 7, 'A', 'a', 'Devis', 0, 0);"
                           "INSERT INTO Facture VALUES (30, '2004-02-06', 9, 'F', 'f', 'BC', 0, 0);"
                           "INSERT INTO DetFact VALUES (3, '1', '2', 'x', '5,00', '10,00');"
                           "INSERT INTO DetFact VALUES (3, '2', '1', 'y', '1,50', '1,50');"
                           "INSERT INTO DetFact VALUES (12, '1', '1', 'x', '1,00', '1,00');"
                           "INSERT INTO DetFact VALUES (15, '1', '1', 'x', '1,00', '1,00');"
                           "INSERT INTO DetFact VALUES (20, '1', '1', 'x', '1,00', '1,00');"
                           "INSERT INTO DetFact VALUES (30, '1', '1', 'x', '1,00', '1,00');"
                           "INSERT INTO AVOIR VALUES (15, '1', '1', 'z', '1,00', '1,00');")));
        start();
    }
    void showNumber(const QString& number) {
        m->rsDoc->FindFirst(QStringLiteral("NumFact=") + number);
        ShowCurrentDocument(*m);
        ASSERT_EQ(ui().txtNumFact->text(), number);
    }
    // Presses the button with one answer queued; returns the question asked, if any.
    ShownMessage press(const char* answer) {
        boxes.answers = QStringList{QString::fromLatin1(answer)};
        const size_t before = boxes.shown.size();
        QTest::mouseClick(ui().Command17, Qt::LeftButton);
        return boxes.shown.size() > before ? boxes.shown.back() : ShownMessage{};
    }
    QString flag(int number) const {
        return file.scalar(
            QStringLiteral("SELECT coalesce(\"Annulée\", 'null') FROM Facture WHERE NumFact = %1")
                .arg(number));
    }
    // Everything stored about a document but its flag.
    QString document(int number) const {
        return file.scalar(
            QStringLiteral(
                "SELECT group_concat(v, '|') FROM (SELECT NumFact || DateFact || NumCli || NomCli || "
                "AdrCli || TypeFact || Avoir AS v FROM Facture WHERE NumFact = %1 UNION ALL SELECT "
                "NB || Qt || Design || PU || Mnt FROM DetFact WHERE NumFact = %1 UNION ALL SELECT "
                "NB || Qt || Design || PU || Mnt FROM AVOIR WHERE NumFact = %1)")
                .arg(number));
    }
    bool markerShown() const { return ui().Label17->isVisibleTo(editor.get()); }
};

} // namespace

TEST_F(Cancelling, YesCancelsThenYesRestoresTheSameDocumentExactly) {
    ASSERT_EQ(ui().txtNumFact->text(), "3");
    const QString before = document(3);
    const QString totals = ui().txtTotalTTC->text();

    const ShownMessage cancel = press("&Oui");
    EXPECT_EQ(cancel.title, "Attention");
    EXPECT_EQ(cancel.text, "Annuler la facture N° 3");
    EXPECT_EQ(flag(3), "1");
    EXPECT_TRUE(markerShown());
    EXPECT_EQ(ui().txtNumFact->text(), "3");

    const ShownMessage restore = press("&Oui");
    EXPECT_EQ(restore.title, "Attention");
    EXPECT_EQ(restore.text, "Reprendre la facture N° 3");
    EXPECT_EQ(flag(3), "0");
    EXPECT_FALSE(markerShown());
    EXPECT_EQ(document(3), before) << "header and lines never change";
    EXPECT_EQ(ui().txtTotalTTC->text(), totals);
    EXPECT_EQ(ui().List1->count(), 2);
}

TEST_F(Cancelling, NoWritesNothingInEitherState) {
    EXPECT_EQ(press("&Non").text, "Annuler la facture N° 3");
    EXPECT_EQ(flag(3), "0");
    EXPECT_FALSE(markerShown());

    showNumber(QStringLiteral("12"));
    EXPECT_TRUE(markerShown());
    EXPECT_EQ(press("&Non").text, "Reprendre la facture N° 12");
    EXPECT_EQ(flag(12), "1");
    EXPECT_TRUE(markerShown());
    EXPECT_EQ(flag(3), "0");
}

TEST_F(Cancelling, AMissingFlagCountsAsNotCancelled) {
    showNumber(QStringLiteral("15"));
    EXPECT_FALSE(markerShown());
    EXPECT_EQ(press("&Oui").text, "Annuler la facture N° 15");
    EXPECT_EQ(flag(15), "1");
    EXPECT_TRUE(markerShown());
}

TEST_F(Cancelling, EveryKindIsCancelledWithTheSameWording) {
    const struct {
        DocKind kind;
        int number;
    } cases[] = {{DocKind::Quote, 20}, {DocKind::Order, 30}, {DocKind::CreditNote, 15}};
    for (const auto& c : cases) {
        const QString number = QString::number(c.number);
        arrangeKind(c.kind);
        ASSERT_EQ(ui().txtNumFact->text(), number);
        EXPECT_EQ(press("&Oui").text, QStringLiteral("Annuler la facture N° ") + number);
        EXPECT_EQ(flag(c.number), "1");
        EXPECT_TRUE(markerShown()) << c.number;
        EXPECT_EQ(ui().txtNumFact->text(), number) << "the same document stays on screen";
    }
    EXPECT_EQ(ui().List3->item(0)->text(), "z") << "the credit note still shows its own lines";
    EXPECT_EQ(flag(3), "0");
}

TEST_F(Cancelling, NoQuestionWithoutADocumentOfThatNumber) {
    for (const char* typed : {"", "99"}) {
        ui().txtNumFact->setText(QString::fromLatin1(typed));
        EXPECT_TRUE(press("&Oui").text.isEmpty()) << typed;
        EXPECT_EQ(ui().txtNumFact->text(), "3") << "the display is refreshed";
    }
    EXPECT_EQ(file.scalar(QStringLiteral("SELECT sum(coalesce(\"Annulée\", 0)) FROM Facture")), "1");
}

TEST_F(Cancelling, ATypedNumberIsTheOneCancelledAndTheScreenKeepsItsDocument) {
    ui().txtNumFact->setText(QStringLiteral("20"));
    EXPECT_EQ(press("&Oui").text, "Annuler la facture N° 20");
    EXPECT_EQ(flag(20), "1");
    EXPECT_EQ(ui().txtNumFact->text(), "3");
    EXPECT_FALSE(markerShown());
}

TEST_F(Cancelling, AFailedWriteIsSaidAndLeavesTheFileAsItWas) {
    ASSERT_TRUE(m->db.exec(QStringLiteral("CREATE TEMP TRIGGER refuse BEFORE UPDATE ON Facture "
                                          "BEGIN SELECT RAISE(ABORT, 'disque plein'); END;")));
    boxes.answers = QStringList{QStringLiteral("&Oui"), QStringLiteral("OK")};
    QTest::mouseClick(ui().Command17, Qt::LeftButton);
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[1].title, "Attention");
    EXPECT_TRUE(boxes.shown[1].text.startsWith(
        QStringLiteral("L'annulation de la facture N° 3 a échoué, rien n'a été modifié : ")))
        << boxes.shown[1].text.toStdString();
    EXPECT_TRUE(boxes.shown[1].text.contains(QStringLiteral("disque plein")));
    EXPECT_EQ(flag(3), "0");
    EXPECT_FALSE(markerShown());

    // Once the file accepts writes again the same command works: nothing of the failed attempt lingers.
    ASSERT_TRUE(m->db.exec(QStringLiteral("DROP TRIGGER temp.refuse")));
    EXPECT_EQ(press("&Oui").text, "Annuler la facture N° 3");
    EXPECT_EQ(flag(3), "1");
    EXPECT_TRUE(markerShown());
}
