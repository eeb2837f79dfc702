#include "editing/edit_mode.h"
#include "support/gui_fixture.h"
#include "support/typing.h"

#include <QApplication>
#include <QTest>

using namespace pylon;
using namespace pylon::test;

namespace {

class Saving : public EditorTest {
  protected:
    void SetUp() override {
        // One invoice 7 of client 1; party 50 is a supplier.
        ASSERT_TRUE(file.exec(QStringLiteral(
            "INSERT INTO CliEC VALUES (1, 0, 0), (50, 0, 1);"
            "INSERT INTO Facture VALUES (7, '2026-01-05', 1, 'Alami', 'Rue 1', 'Facture', 0, 0);"
            "INSERT INTO DetFact VALUES (7, ' ', '1', 'Stylo', '2,00', '2,00');"
            "INSERT INTO Facture VALUES (500, '2026-01-06', 50, 'Fournil', 'Rue 9', 'BC', 0, 0);"
            "INSERT INTO DetFact VALUES (500, ' ', '1', 'Encre', '9,00', '9,00');")));
        start();
        editor->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
    }
    QString rows(const QString& sql) const {
        return file.scalar(QStringLiteral("SELECT group_concat(r, '|') FROM (") + sql + ")");
    }
};

// A header and two lines, the second with an empty N.B. cell.
TypedDocument screws(const QString& number, const QString& client) {
    return {number,
            "31/1/04",
            client,
            "Société Générale d'Écrous",
            "12, rue Ibn Sina\nCasablanca",
            {{"R-1", "3", "Écrous 8 mm", "10", QString()}, {"", "2,5", "Rondelles", "1.2", QString()}}};
}

} // namespace

TEST_F(Saving, EveryKindStoresItsClientHeaderAndLines) {
    const struct {
        DocKind kind;
        const char* type;
        const char* number;
        const char* frs;
    } kinds[] = {{DocKind::Invoice, "Facture", "8", "0"},
                 {DocKind::Quote, "Devis", "1", "0"},
                 {DocKind::Order, "BC", "501", "1"},
                 {DocKind::Delivery, "BL", "9", "0"},
                 {DocKind::MonthEnd, "Facture M", "10", "0"}};
    int client = 100;
    for (const auto& k : kinds) {
        arrangeKind(k.kind);
        typeDocument(screws(QString(), QString::number(++client)));
        EXPECT_EQ(ui().txtNumFact->text(), k.number) << k.type;
        ui().Check1->setChecked(true);
        save();
        const QString n = QString::fromLatin1(k.number);
        EXPECT_EQ(
            rows(
                "SELECT NumFact || ';' || DateFact || ';' || NumCli || ';' || NomCli || ';' || AdrCli || ';' "
                "|| TypeFact || ';' || Avoir || ';' || \"Annulée\" AS r FROM Facture WHERE NumFact = " +
                n),
            QStringLiteral("%1;2004-01-31;%2;Société Générale d'Écrous;12, rue Ibn Sina\nCasablanca;%3;0;0")
                .arg(n)
                .arg(client)
                .arg(QString::fromLatin1(k.type)));
        EXPECT_EQ(rows("SELECT NB || ';' || Qt || ';' || Design || ';' || PU || ';' || Mnt AS r FROM DetFact "
                       "WHERE NumFact = " +
                       n + " ORDER BY rowid"),
                  QStringLiteral("R-1;3;Écrous 8 mm;10,00;30,00| ;2,5;Rondelles;1,20;3,00"));
        EXPECT_EQ(
            file.scalar(QStringLiteral("SELECT ClientC || Frs FROM CliEC WHERE NumCli = %1").arg(client)),
            QStringLiteral("1") + QString::fromLatin1(k.frs));
        // Back to the stored documents, on the one just saved.
        EXPECT_FALSE(ui().Command10->isEnabled());
        EXPECT_FALSE(ui().txtPointeur->isVisible());
        EXPECT_EQ(ui().txtNumFact->text(), n);
        EXPECT_EQ(ui().txtTotalTTC->text(), "    39,60");
        EXPECT_TRUE(focusIs(ui().txtNumFact));
    }
}

TEST_F(Saving, AMissingOrUnreadableHeaderFieldKeepsTheEntry) {
    const struct {
        QLineEdit* field;
        const char* value;
        const char* message;
        QWidget* focus;
    } cases[] = {
        {ui().txtNomCli, "", "Veuillez remplir les champs requise.", ui().txtNumFact},
        {ui().txtDateFact, "31/2/2004", "La date n'est pas valide.", ui().txtDateFact},
        {ui().txtDateFact, "hier", "La date n'est pas valide.", ui().txtDateFact},
        {ui().txtNumFact, "12a", "Le numéro n'est pas valide.", ui().txtNumFact},
        {ui().txtNumFact, "99999999999", "Le numéro n'est pas valide.", ui().txtNumFact},
        {ui().txtNumCli, "7x", "Le numéro n'est pas valide.", ui().txtNumCli},
    };
    for (const auto& c : cases) {
        typeDocument(screws(QStringLiteral("30"), QStringLiteral("200")));
        c.field->setText(QString::fromUtf8(c.value));
        boxes.shown.clear();
        save();
        ASSERT_EQ(boxes.shown.size(), 1u) << c.value;
        EXPECT_EQ(boxes.shown[0].text, QString::fromUtf8(c.message));
        EXPECT_EQ(boxes.shown[0].title, "Attention");
        EXPECT_TRUE(focusIs(c.focus)) << c.value;
        EXPECT_TRUE(ui().Command10->isEnabled()) << "still entering";
        EXPECT_EQ(ui().List1->count(), 2);
        EXPECT_TRUE(ui().txtPointeur->isVisible());
        EXPECT_EQ(file.scalar(QStringLiteral("SELECT count(*) FROM Facture")), "2");
        EXPECT_EQ(file.scalar(QStringLiteral("SELECT count(*) FROM CliEC")), "2");
    }
}

TEST_F(Saving, ATakenNumberKeepsEverythingTypedSoOnlyTheNumberChanges) {
    typeDocument(screws(QStringLiteral("500"), QStringLiteral("300"))); // a purchase order has it
    typeLine(ui().txtPointeur, {"x"});
    const QString totals = ui().txtTotalTTC->text();
    save();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Facture N° 500 Existe déjà.");
    EXPECT_EQ(boxes.shown[0].title, "Opération annulée!");
    EXPECT_EQ(file.scalar(QStringLiteral("SELECT count(*) FROM CliEC WHERE NumCli = 300")), "0")
        << "not even the client row is written";
    EXPECT_TRUE(ui().Command10->isEnabled());
    EXPECT_EQ(ui().List3->count(), 2);
    EXPECT_EQ(ui().txtTotalTTC->text(), totals);
    EXPECT_EQ(ui().txtPointeur->x(), 88) << "the pointer stays where typing left it";
    EXPECT_TRUE(focusIs(ui().txtNumFact));

    ui().txtNumFact->setText(QStringLiteral("31"));
    save();
    EXPECT_EQ(file.scalar(QStringLiteral("SELECT count(*) FROM DetFact WHERE NumFact = 31")), "3")
        << "the line begun with only its N.B. cell is saved with blanks";
    EXPECT_EQ(file.scalar(QStringLiteral("SELECT Qt || Design FROM DetFact WHERE NumFact = 31 AND NB = 'x'")),
              "  ");
}

TEST_F(Saving, AClientNumberTypedByHandBringsItsFlagFromTheFile) {
    ASSERT_TRUE(file.exec(QStringLiteral("UPDATE CliEC SET ClientC = 1 WHERE NumCli = 1")));
    const struct {
        const char* name;
        const char* typedName; // already in the name box, kept
        Qt::Key leave;         // Enter in the field, Tab out of it, or (none) a click on "En Compte"
        const char* number;
    } cases[] = {{"Enter", "", Qt::Key_Return, "30"},
                 {"a click on the box, which ticks it once", "", Qt::Key_unknown, "32"},
                 {"Tab", "Alami Fils", Qt::Key_Tab, "31"}};
    for (const auto& c : cases) {
        QTest::mouseClick(ui().Command5, Qt::LeftButton);
        ui().txtNumFact->setText(QString::fromLatin1(c.number));
        ui().txtNomCli->setText(QString::fromUtf8(c.typedName));
        ui().txtNumCli->setFocus();
        ASSERT_TRUE(focusIs(ui().txtNumCli));
        typeText(ui().txtNumCli, QStringLiteral("1"));
        if (c.leave == Qt::Key_unknown)
            QTest::mouseClick(ui().Check1, Qt::LeftButton);
        else
            QTest::keyClick(ui().txtNumCli, c.leave);
        if (c.leave == Qt::Key_Tab) ui().txtNomCli->setFocus(); // the offscreen platform may keep the focus
        EXPECT_TRUE(ui().Check1->isChecked()) << c.name;
        EXPECT_EQ(ui().txtNomCli->text(), *c.typedName ? QString::fromUtf8(c.typedName) : "Alami") << c.name;
        EXPECT_EQ(ui().txtAdrCli->toPlainText(), "Rue 1") << c.name;
        typeLine(ui().txtPointeur, {"1", "1", "Stylo", "2", QString()});
        save();
        EXPECT_EQ(file.scalar(QStringLiteral("SELECT ClientC FROM CliEC WHERE NumCli = 1")), "1")
            << c.name << ": still on account, its month-end invoices possible";
        EXPECT_EQ(
            file.scalar(QStringLiteral("SELECT count(*) FROM Facture WHERE NumFact = %1").arg(c.number)),
            "1");
    }
}

TEST_F(Saving, ACellLeftInThePointerIsNeitherSavedNorLost) {
    typeDocument(screws(QStringLiteral("30"), QStringLiteral("200")));
    typeLine(ui().txtPointeur, {"R-3", "4", "Boulons", "2"}); // the amount 8 is proposed, not confirmed
    ASSERT_EQ(ui().txtPointeur->text(), "8,00");
    save();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, "Attention");
    EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("Entrée")));
    EXPECT_EQ(file.scalar(QStringLiteral("SELECT count(*) FROM Facture WHERE NumFact = 30")), "0");
    EXPECT_TRUE(ui().Command10->isEnabled()) << "still entering";
    EXPECT_EQ(ui().txtPointeur->text(), "8,00");
    EXPECT_TRUE(focusIs(ui().txtPointeur));

    QTest::keyClick(ui().txtPointeur, Qt::Key_Return);
    save();
    EXPECT_EQ(file.scalar(QStringLiteral("SELECT group_concat(Mnt, '|') FROM DetFact WHERE NumFact = 30")),
              "30,00|3,00|8,00");
}

TEST_F(Saving, NoLinesStoresNothingAndEndsTheEntry) {
    QTest::mouseClick(ui().Command5, Qt::LeftButton);
    ui().txtNumFact->setText(QStringLiteral("42"));
    ui().txtDateFact->setText(QStringLiteral("01/02/2026"));
    ui().txtNumCli->setText(QStringLiteral("400"));
    ui().txtNomCli->setText(QStringLiteral("N"));
    ui().txtAdrCli->setPlainText(QStringLiteral("A"));
    typeText(ui().txtPointeur, QStringLiteral("left in the pointer"));
    save();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Opération annulée, il faut remplir la facture");
    EXPECT_EQ(boxes.shown[0].title, "Attention!");
    EXPECT_EQ(file.scalar(QStringLiteral("SELECT count(*) FROM Facture")), "2");
    EXPECT_EQ(file.scalar(QStringLiteral("SELECT count(*) FROM CliEC")), "2")
        << "no client without a document";
    EXPECT_FALSE(ui().Command10->isEnabled());
}

TEST_F(Saving, ASupplierStaysASupplierAndOnlyTheOnAccountFlagFollows) {
    typeDocument(screws(QStringLiteral("43"), QStringLiteral("50")));
    ui().Check1->setChecked(true);
    save();
    EXPECT_EQ(file.scalar(QStringLiteral("SELECT ClientC || Frs FROM CliEC WHERE NumCli = 50")), "11");
}

TEST_F(Saving, AFailedWriteLeavesNothingBehindAndTheEntryOnScreen) {
    ASSERT_TRUE(
        file.exec(QStringLiteral("CREATE TRIGGER refuse_lines BEFORE INSERT ON DetFact WHEN NEW.Design = "
                                 "'Rondelles' BEGIN SELECT RAISE(ABORT, 'disk trouble'); END;")));
    typeDocument(screws(QStringLiteral("40"), QStringLiteral("500")));
    save();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("rien n'a été enregistré")))
        << boxes.shown[0].text.toStdString();
    for (const char* table :
         {"Facture WHERE NumFact = 40", "DetFact WHERE NumFact = 40", "CliEC WHERE NumCli = 500"})
        EXPECT_EQ(file.scalar(QStringLiteral("SELECT count(*) FROM ") + QLatin1String(table)), "0") << table;
    EXPECT_TRUE(ui().Command10->isEnabled());
    EXPECT_EQ(ui().List1->count(), 2);
    file.exec(QStringLiteral("DROP TRIGGER refuse_lines"));
}

TEST_F(Saving, AbandoningStoresNothingAndShowsThePreviousDocument) {
    typeDocument(screws(QStringLiteral("41"), QStringLiteral("600")));
    QTest::mouseClick(ui().Command10, Qt::LeftButton);
    EXPECT_EQ(ui().txtNumFact->text(), "7");
    EXPECT_EQ(ui().List3->count(), 1);
    EXPECT_FALSE(ui().Command6->isEnabled());
    EXPECT_FALSE(ui().Command10->isEnabled());
    EXPECT_FALSE(ui().Check1->isEnabled());
    EXPECT_FALSE(ui().txtPointeur->isVisible());
    EXPECT_EQ(file.scalar(QStringLiteral("SELECT count(*) FROM Facture")), "2");
}

TEST_F(Saving, ACreditNoteOnAMissingDocumentIsRefused) {
    arrangeKind(DocKind::CreditNote);
    // As after a pick in the attach list, then the number changed by hand.
    ui().txtNumFact->setText(QStringLiteral("77"));
    ui().txtDateFact->setText(QStringLiteral("05/01/2026"));
    ui().txtNumCli->setText(QStringLiteral("1"));
    ui().txtNomCli->setText(QStringLiteral("Alami"));
    ui().txtAdrCli->setPlainText(QStringLiteral("Rue 1"));
    enterEditMode(*m, false);
    ui().txtPointeur->show();
    typeLine(ui().txtPointeur, {"", "1", "Retour", "2", QString()});
    save();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Facture N° 77 introuvable.");
    EXPECT_EQ(boxes.shown[0].title, "Opération annulée!");
    EXPECT_EQ(file.scalar(QStringLiteral("SELECT count(*) FROM AVOIR")), "0");
    EXPECT_TRUE(ui().Command10->isEnabled());

    ui().txtNumFact->setText(QStringLiteral("7"));
    save();
    EXPECT_EQ(file.scalar(QStringLiteral("SELECT Avoir FROM Facture WHERE NumFact = 7")), "1");
    EXPECT_EQ(rows("SELECT NB || ';' || Design || ';' || Mnt AS r FROM AVOIR WHERE NumFact = 7"),
              " ;Retour;2,00");
    EXPECT_EQ(file.scalar(QStringLiteral("SELECT count(*) FROM Facture")), "2") << "no second header";
    EXPECT_EQ(ui().txtNumFact->text(), "7") << "shown in the credit-note view";
    EXPECT_EQ(ui().List3->item(0)->text(), "Retour");
}
