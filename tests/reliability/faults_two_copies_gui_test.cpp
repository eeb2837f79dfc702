// Two copies of the program on the same file, as when it is started twice or from two computers on a
// shared folder: neither loses the other's saves, and a number cannot be given to two documents even
// when both copies save it at the same moment.
#include "app/startup.h"
#include "app/wiring.h"
#include "editing/form5.h"
#include "support/gui_fixture.h"

#include <QFileInfo>
#include <QTest>
#include <algorithm>
#include <sqlite3.h>

using namespace pylon;
using namespace pylon::test;

namespace {

// Stands for another program that has written a document and is about to commit it: the commit happens
// exactly while the program waits for the file, that is after it has looked the number up and before it
// writes.
struct OtherCommitsMeanwhile {
    Database* other = nullptr;
    int waits = 0;
};

int commitTheOther(void* p, int) {
    auto* o = static_cast<OtherCommitsMeanwhile*>(p);
    if (o->waits++ == 0) o->other->exec(QStringLiteral("COMMIT"));
    return o->waits < 100 ? 1 : 0;
}

class FaultsTwoCopies : public EditorTest {
  protected:
    // Invoices 7 and 8 of client 1 (on account), dated in March 2005.
    virtual bool arrange() {
        return file.exec(QStringLiteral(
            "INSERT INTO CliEC VALUES (1, 1, 0);"
            "INSERT INTO Facture VALUES (7, '2005-03-05', 1, 'Alami', 'Rue 1', 'Facture', 0, 0),"
            " (8, '2005-03-09', 1, 'Alami', 'Rue 1', 'Facture', 0, 0);"
            "INSERT INTO DetFact VALUES (7, '1', '1', 'Stylo', '2,00', '2,00'),"
            " (8, '1', '2', 'Cahier', '5,00', '10,00');"));
    }
    void SetUp() override {
        ASSERT_TRUE(arrange());
        start();
        m2 = std::make_unique<Session>();
        m2->appPath = QFileInfo(file.path()).absolutePath();
        editor2 = std::make_unique<EditorWithControls>(*m2);
        wireEditor(*m2);
        editor2->show();
        Form1_Load(*m2);
        ASSERT_TRUE(m2->db.isOpen());
    }
    void TearDown() override {
        if (editor2) editor2->close();
        editor2.reset();
        m2.reset();
        EditorTest::TearDown();
    }
    static void activate(Form1& e) {
        e.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&e));
    }
    // "Aj&outer" in one copy, a header and two lines.
    static void typeDocument(Form1& e, const QString& number, const QString& client) {
        activate(e);
        test::typeDocument(e, {number,
                               "31/3/05",
                               client,
                               "Copie " + number,
                               "Rue " + number,
                               {{"1", "3", "Vis", "10", QString()}, {"2", "1", "Boulon", "4", QString()}}});
    }
    // Another program writes document `number` of client 300 and holds it uncommitted.
    void otherWritesMeanwhile(Database& other, int number) {
        ASSERT_TRUE(other.isOpen() || other.open(file.path()));
        ASSERT_TRUE(other.exec(
            QStringLiteral(
                "BEGIN IMMEDIATE;"
                "INSERT INTO CliEC SELECT 300, 0, 0 WHERE NOT EXISTS "
                "(SELECT 1 FROM CliEC WHERE NumCli = 300);"
                "INSERT INTO Facture VALUES (%1, '2005-03-30', 300, 'Autre', 'Ailleurs', 'Facture', "
                "0, 0);"
                "INSERT INTO DetFact VALUES (%1, '1', '1', 'Autre', '1,00', '1,00');")
                .arg(number)));
    }

    std::unique_ptr<Session> m2;
    std::unique_ptr<EditorWithControls> editor2;
};

// Both copies started before anything was saved: neither has read a document or a party yet.
class FaultsTwoCopiesOnAnEmptyFile : public FaultsTwoCopies {
  protected:
    bool arrange() override { return true; }
};

} // namespace

TEST_F(FaultsTwoCopiesOnAnEmptyFile, NeitherANumberNorAPartyIsWrittenTwice) {
    typeDocument(*editor, QStringLiteral("1"), QStringLiteral("5"));
    typeDocument(*editor2, QStringLiteral("1"), QStringLiteral("5"));
    activate(*editor);
    test::save(*editor);
    activate(*editor2);
    test::save(*editor2);
    EXPECT_EQ(boxes.said(QStringLiteral("Facture N° 1 Existe déjà.")), 1);
    EXPECT_EQ(count("Facture", "NumFact = 1"), "1");
    EXPECT_TRUE(editor2->ui.Command10->isEnabled()) << "the entry stays, to change its number";

    editor2->ui.txtNumFact->setText(QStringLiteral("2"));
    test::save(*editor2);
    EXPECT_EQ(count("Facture", "NumFact IN (1, 2)"), "2");
    EXPECT_EQ(count("CliEC", "NumCli = 5"), "1") << "one row for the party both copies wrote";
}

TEST_F(FaultsTwoCopies, EachCopyKeepsTheOthersSaves) {
    typeDocument(*editor, QStringLiteral("30"), QStringLiteral("200"));
    test::save(*editor);
    EXPECT_FALSE(ui().Command10->isEnabled());

    activate(*editor2);
    QTest::mouseClick(editor2->ui.Command5, Qt::LeftButton);
    EXPECT_EQ(editor2->ui.txtNumFact->text(), "31") << "the other copy's save is seen at once";
    QTest::mouseClick(editor2->ui.Command10, Qt::LeftButton);
    typeDocument(*editor2, QStringLiteral("31"), QStringLiteral("201"));
    test::save(*editor2);
    EXPECT_FALSE(editor2->ui.Command10->isEnabled());
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(count("Facture", "NumFact IN (30, 31)"), "2");
    EXPECT_EQ(count("DetFact", "NumFact IN (30, 31)"), "4");
    EXPECT_EQ(count("CliEC", "NumCli IN (200, 201)"), "2");

    // Both copies enter number 40; the second to save is told, and keeps its entry to change the number.
    typeDocument(*editor, QStringLiteral("40"), QStringLiteral("202"));
    typeDocument(*editor2, QStringLiteral("40"), QStringLiteral("203"));
    activate(*editor);
    test::save(*editor);
    activate(*editor2);
    test::save(*editor2);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Facture N° 40 Existe déjà.");
    EXPECT_EQ(boxes.shown[0].title, "Opération annulée!");
    EXPECT_EQ(count("Facture", "NumFact = 40"), "1");
    EXPECT_EQ(file.scalar(QStringLiteral("SELECT NumCli FROM Facture WHERE NumFact = 40")), "202");
    EXPECT_TRUE(editor2->ui.Command10->isEnabled());
    EXPECT_EQ(editor2->ui.List1->count(), 2);

    editor2->ui.txtNumFact->setText(QStringLiteral("41"));
    test::save(*editor2);
    EXPECT_EQ(count("Facture", "NumFact IN (40, 41)"), "2");
    EXPECT_EQ(count("DetFact", "NumFact IN (40, 41)"), "4");
}

TEST_F(FaultsTwoCopies, ANumberSavedByAnotherCopyWhileThisOneWaitsIsRefused) {
    Database other;
    otherWritesMeanwhile(other, 50);
    typeDocument(*editor, QStringLiteral("50"), QStringLiteral("201"));
    OtherCommitsMeanwhile meanwhile{&other};
    sqlite3_busy_handler(m->db.handle(), commitTheOther, &meanwhile);
    test::save(*editor);
    ASSERT_GE(meanwhile.waits, 1) << "the save did wait for the other program";
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Facture N° 50 Existe déjà.");
    EXPECT_EQ(count("Facture", "NumFact = 50"), "1") << "never two documents with one number";
    EXPECT_EQ(file.scalar(QStringLiteral("SELECT NomCli FROM Facture WHERE NumFact = 50")), "Autre");
    EXPECT_EQ(count("DetFact", "NumFact = 50"), "1");
    EXPECT_EQ(count("CliEC", "NumCli = 201"), "0") << "nothing of this copy's entry is written";
    EXPECT_TRUE(ui().Command10->isEnabled());
    EXPECT_EQ(ui().List1->count(), 2);
    QTest::mouseClick(ui().Command10, Qt::LeftButton);

    // The month-end invoice looks the number up again in the same way.
    otherWritesMeanwhile(other, 51);
    meanwhile.waits = 0;
    boxes.shown.clear();
    inputs.answers = QStringList{"51", "31/3/2005", "1"};
    ui().txtNumFact->setText(QStringLiteral("7"));
    QTest::keyClick(ui().txtNumFact, Qt::Key_Return);
    QTest::mouseClick(ui().Command16, Qt::LeftButton);
    ASSERT_GE(meanwhile.waits, 1);
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].text, "Facture N° 51 Existe déjà.");
    EXPECT_EQ(boxes.shown[1].text, "Opération annulée.");
    EXPECT_EQ(count("Facture", "NumFact = 51"), "1");
    EXPECT_EQ(file.scalar(QStringLiteral("SELECT TypeFact FROM Facture WHERE NumFact = 51")), "Facture");
    EXPECT_EQ(count("DetFact", "NumFact = 51"), "1");
    m->db.setBusyTimeout(3000);
}

TEST_F(FaultsTwoCopies, ALineChangedInADocumentTheOtherCopyDeletedIsNotWritten) {
    activate(*editor);
    ASSERT_EQ(ui().txtNumFact->text(), "7");
    const QPoint row = ui().List1->visualItemRect(ui().List1->item(0)).center();
    QTest::mouseClick(ui().List1->viewport(), Qt::LeftButton, {}, row);
    QTest::mouseDClick(ui().List1->viewport(), Qt::LeftButton, {}, row);
    auto* d = qobject_cast<Form5*>(m->form5.get());
    ASSERT_TRUE(d && QTest::qWaitForWindowActive(d));
    d->ui.Text3->setText(QStringLiteral("Stylo bleu"));

    activate(*editor2);
    ASSERT_EQ(editor2->ui.txtNumFact->text(), "7");
    boxes.answers = QStringList{QStringLiteral("&Oui")};
    QTest::mouseClick(editor2->ui.Command8, Qt::LeftButton);
    ASSERT_EQ(count("Facture", "NumFact = 7"), "0");

    boxes.shown.clear();
    d->activateWindow();
    QTest::mouseClick(d->ui.Command1, Qt::LeftButton);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text,
              "La modification n'a pas pu être enregistrée : le document N° 7 n'est plus "
              "dans la base de données (une autre copie du programme l'a peut-être "
              "supprimé).");
    EXPECT_EQ(count("DetFact", "NumFact = 7"), "0") << "no lines left without their document";
    d->hide();
}
