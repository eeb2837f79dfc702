#include "editing/edit_mode.h"
#include "support/gui_fixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>

using namespace pylon;
using namespace pylon::test;

namespace {

class Navigation : public EditorTest {
  protected:
    void SetUp() override {
        // Invoices 3, 12 (three lines, written out of order) and 15; a quote 20; client 8 has 12 and 15.
        ASSERT_TRUE(file.exec(
            QStringLiteral("INSERT INTO CliEC VALUES (7, 0, 0), (8, 1, 0);"
                           "INSERT INTO Facture VALUES (12, '2004-01-31', 8, 'B', 'b', 'Facture', 1, 0);"
                           "INSERT INTO Facture VALUES (3, '2004-01-02', 7, 'A', 'a', 'Facture', 0, 0);"
                           "INSERT INTO Facture VALUES (20, '2004-02-02', 7, 'A', 'a', 'Devis', 0, 0);"
                           "INSERT INTO Facture VALUES (15, '2004-02-03', 8, 'B', 'b', 'Facture', 1, 0);"
                           "INSERT INTO DetFact VALUES (12, '1', '1', 'x', '1,00', '1,00');"
                           "INSERT INTO DetFact VALUES (3, '1', '1', 'x', '1,00', '1,00');"
                           "INSERT INTO DetFact VALUES (12, '2', '1', 'x', '1,00', '1,00');"
                           "INSERT INTO DetFact VALUES (20, '1', '1', 'x', '1,00', '1,00');"
                           "INSERT INTO DetFact VALUES (15, '1', '1', 'x', '1,00', '1,00');"
                           "INSERT INTO DetFact VALUES (12, '3', '1', 'x', '1,00', '1,00');"
                           "INSERT INTO DetFact VALUES (15, '2', '1', 'x', '1,00', '1,00');"
                           "INSERT INTO AVOIR VALUES (15, 'a', '1', 'y', '1,00', '1,00');"
                           "INSERT INTO AVOIR VALUES (12, 'a', '1', 'y', '1,00', '1,00');"
                           "INSERT INTO AVOIR VALUES (15, 'b', '1', 'y', '1,00', '1,00');")));
        start();
    }
    QString shown() const { return ui().txtNumFact->text(); }
    void click(QPushButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
    void enter(QLineEdit* field, const QString& typed) {
        field->clear();
        QTest::keyClicks(field, typed);
        QTest::keyClick(field, Qt::Key_Return);
    }
};

} // namespace

TEST_F(Navigation, StepsCrossWholeDocumentsAndStopAtTheEnds) {
    const struct {
        QPushButton* button;
        const char* lands;
        int lines;
    } steps[] = {
        {ui().Command3, "12", 3}, {ui().Command3, "15", 2}, {ui().Command3, "15", 2},
        {ui().Command2, "12", 3}, {ui().Command2, "3", 1},  {ui().Command2, "3", 1},
        {ui().Command4, "15", 2}, {ui().Command1, "3", 1},
    };
    ASSERT_EQ(shown(), "3");
    for (const auto& s : steps) {
        click(s.button);
        EXPECT_EQ(shown(), s.lands) << s.button->text().toStdString();
        EXPECT_EQ(ui().List1->count(), s.lines) << s.button->text().toStdString();
    }
    // From the middle of a document with several lines, "<" and ">" still reach the neighbours.
    click(ui().Command3);
    ASSERT_EQ(shown(), "12");
    ASSERT_TRUE(m->rsDoc->MoveNext());
    click(ui().Command2);
    EXPECT_EQ(shown(), "3");
}

TEST_F(Navigation, AOneDocumentViewAndTheCreditNoteView) {
    arrangeKind(DocKind::Quote);
    for (QPushButton* b : {ui().Command1, ui().Command2, ui().Command3, ui().Command4}) {
        click(b);
        EXPECT_EQ(shown(), "20");
    }
    arrangeKind(DocKind::CreditNote);
    EXPECT_EQ(shown(), "12");
    click(ui().Command3);
    EXPECT_EQ(shown(), "15");
    EXPECT_EQ(ui().List1->count(), 2) << "the credit note's own lines";
    click(ui().Command1);
    EXPECT_EQ(shown(), "12");
    click(ui().Command4);
    EXPECT_EQ(shown(), "15");
}

TEST_F(Navigation, LookupsFindNumbersAndClientsAndRestoreOnAMiss) {
    enter(ui().txtNumFact, QStringLiteral("12"));
    EXPECT_EQ(shown(), "12");
    click(ui().Command1);
    enter(ui().txtNumFact, QStringLiteral("012"));
    EXPECT_EQ(shown(), "12");
    enter(ui().txtNumFact, QStringLiteral("20")); // a quote: not in the invoice view
    EXPECT_EQ(shown(), "12");
    enter(ui().txtNumFact, QString());
    EXPECT_EQ(shown(), "12");
    click(ui().Command1);
    enter(ui().txtNumCli, QStringLiteral("8"));
    EXPECT_EQ(shown(), "12") << "the lowest-numbered document of client 8";
    EXPECT_EQ(ui().txtNumCli->text(), "8");
    enter(ui().txtNumCli, QStringLiteral("99"));
    EXPECT_EQ(shown(), "12");
    EXPECT_EQ(ui().txtNumCli->text(), "8") << "the shown document's client is put back";
}

TEST_F(Navigation, OnlyDigitsAndBackspaceReachTheLookupFields) {
    for (QLineEdit* field : {ui().txtNumFact, ui().txtNumCli}) {
        field->clear();
        QTest::keyClicks(field, QStringLiteral("a1 -.,2+"));
        QKeyEvent accented(QEvent::KeyPress, Qt::Key_Eacute, Qt::NoModifier, QStringLiteral("é"));
        QApplication::sendEvent(field, &accented);
        QTest::keyClicks(field, QStringLiteral("3"));
        EXPECT_EQ(field->text(), "123") << field->objectName().toStdString();
        QTest::keyClick(field, Qt::Key_Backspace);
        EXPECT_EQ(field->text(), "12");
    }
}

TEST_F(Navigation, InEditModeEnterMovesOnAndAStepAbandonsTheEntry) {
    editor->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
    click(ui().Command3); // on 12
    enterEditMode(*m, true);
    ui().txtPointeur->show();
    ui().txtNumFact->setFocus();
    enter(ui().txtNumFact, QStringLiteral("15"));
    EXPECT_EQ(ui().txtNumFact->text(), "15") << "the typed number stays: no lookup";
    EXPECT_EQ(QApplication::focusWidget(), ui().txtDateFact);
    ui().txtNumCli->setFocus();
    enter(ui().txtNumCli, QStringLiteral("44"));
    EXPECT_EQ(ui().txtNumCli->text(), "44");
    EXPECT_EQ(QApplication::focusWidget(), ui().txtNomCli);

    click(ui().Command2);
    EXPECT_EQ(shown(), "3") << "the neighbour of the document current before the entry";
    EXPECT_FALSE(ui().Command10->isEnabled());
    EXPECT_FALSE(ui().Command6->isEnabled());
    EXPECT_FALSE(ui().txtPointeur->isVisibleTo(editor.get()));
    EXPECT_EQ(QApplication::focusWidget(), ui().txtNumFact);
}
