#include "browse/form2.h"
#include "editing/edit_mode.h"
#include "support/gui_fixture.h"
#include "support/list_driver.h"
#include "support/typing.h"

#include <QPushButton>
#include <QTest>

using namespace pylon;
using namespace pylon::test;

namespace {

class CreditNote : public EditorTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(file.exec(QStringLiteral(
            "INSERT INTO CliEC VALUES (7, 1, 0), (9, 0, 1);"
            "INSERT INTO Facture VALUES (3, '2026-03-02', 7, 'Alami', 'Rue 1', 'Facture', 0, 0);"
            "INSERT INTO DetFact VALUES (3, ' ', '1', 'Bureau', '100,00', '100,00');"
            "INSERT INTO Facture VALUES (4, '2026-03-03', 9, 'Fournil', 'Rue 9', 'BC', 0, 0);"
            "INSERT INTO DetFact VALUES (4, ' ', '1', 'Encre', '9,00', '9,00');")));
        start();
        arrangeKind(DocKind::CreditNote);
    }
    Form2& list() { return *static_cast<Form2*>(m->form2.get()); }
    void pick(int row) { doubleClickRow(*list().ui.List1, row); }
};

} // namespace

TEST_F(CreditNote, AttachedTypedAndSaved) {
    QTest::mouseClick(ui().Command5, Qt::LeftButton);
    ASSERT_TRUE(m->form2);
    EXPECT_EQ(list().windowTitle(), "Attaché Avoir au facture :");
    EXPECT_EQ(column(1), QStringList()) << "the editor is untouched by opening the list";
    EXPECT_EQ(rowTexts(*list().ui.List1), QStringList({"3", "4"})) << "documents of every kind";
    EXPECT_EQ(list().ui.List2->text(0), "02/03/2026");
    EXPECT_EQ(list().ui.List3->text(1), "9");

    pick(0);
    EXPECT_FALSE(list().isVisible());
    EXPECT_EQ(ui().txtNumFact->text(), "3");
    EXPECT_EQ(ui().txtDateFact->text(), "02/03/2026");
    EXPECT_EQ(ui().txtNomCli->text(), "Alami");
    EXPECT_TRUE(ui().Check1->isChecked()) << "the client's stored flag";
    EXPECT_FALSE(ui().Check1->isEnabled()) << "a credit note does not change it";
    EXPECT_EQ(ui().List1->count(), 0);
    EXPECT_EQ(ui().txtTotalTTC->text(), "0");
    EXPECT_TRUE(ui().Command6->isEnabled());
    EXPECT_TRUE(ui().txtPointeur->isVisible());

    typeLine(ui().txtPointeur, {"", "1", "Retour bureau", "20", QString()});
    QTest::mouseClick(ui().Command6, Qt::LeftButton);
    EXPECT_EQ(file.scalar(QStringLiteral("SELECT Avoir FROM Facture WHERE NumFact = 3")), "1");
    EXPECT_EQ(file.scalar(QStringLiteral("SELECT Design || '/' || Mnt FROM AVOIR WHERE NumFact = 3")),
              "Retour bureau/20,00");
    EXPECT_EQ(file.scalar(QStringLiteral("SELECT count(*) FROM DetFact WHERE NumFact = 3")), "1");
    EXPECT_EQ(ui().txtNumFact->text(), "3");
    EXPECT_EQ(ui().txtTotalTTC->text(), "    24,00");
    EXPECT_FALSE(ui().Label15->isVisibleTo(editor.get())) << "no marker in the credit-note kind";
}

TEST_F(CreditNote, APickDuringAnEntryDoesNothing) {
    QTest::mouseClick(ui().Command5, Qt::LeftButton);
    enterEditMode(*m, false); // an entry under way
    ui().txtNumFact->setText(QStringLiteral("typed"));
    pick(1);
    EXPECT_EQ(ui().txtNumFact->text(), "typed");
}

TEST_F(CreditNote, AttachListReopenedDuringTheEntryKeepsTheColumnsInStep) {
    QTest::mouseClick(ui().Command5, Qt::LeftButton);
    pick(0);
    typeLine(ui().txtPointeur, {"1", "1", "Retour", "20", QString()});
    typeLine(ui().txtPointeur, {"2"});                // the second line's N.B. only
    QTest::mouseClick(ui().Command5, Qt::LeftButton); // the list again, which does nothing during an entry
    list().hide();
    ui().txtPointeur->setFocus();
    typeLine(ui().txtPointeur, {"2", "Reprise", "5", QString()});
    EXPECT_EQ(column(1), QStringList({"1", "2"}));
    EXPECT_EQ(column(2), QStringList({"1", "2"}));
    EXPECT_EQ(column(3), QStringList({"Retour", "Reprise"}));
    EXPECT_EQ(column(5), QStringList({"20,00", "10,00"}));
}

// Commands that show a stored document again end an entry, as a step does: a credit note left under way
// over the document shown would be saved a second time into it.
struct EndsTheEntry {
    const char* name;
    void (*run)(Ui::Form1&, Session&);
};

class CreditNoteEntryEnded : public CreditNote, public ::testing::WithParamInterface<EndsTheEntry> {};

TEST_P(CreditNoteEntryEnded, NothingIsLeftToSaveTwice) {
    ASSERT_TRUE(
        file.exec(QStringLiteral("UPDATE Facture SET Avoir = 1 WHERE NumFact = 3;"
                                 "INSERT INTO AVOIR VALUES (3, ' ', '1', 'Retour', '5,00', '5,00');")));
    arrangeKind(DocKind::CreditNote);
    QTest::mouseClick(ui().Command5, Qt::LeftButton);
    pick(0);
    typeLine(ui().txtPointeur, {"", "1", "Encore", "7", QString()});
    GetParam().run(ui(), *m);
    EXPECT_FALSE(ui().Command10->isEnabled());
    EXPECT_FALSE(ui().Command6->isEnabled());
    EXPECT_FALSE(ui().txtPointeur->isVisible());
    EXPECT_EQ(m->CurrentLine, 0);
    QTest::mouseClick(ui().Command6, Qt::LeftButton);
    EXPECT_EQ(file.scalar(QStringLiteral("SELECT count(*) FROM AVOIR WHERE Design = 'Encore'")), "0");
    EXPECT_LE(file.scalar(QStringLiteral("SELECT count(*) FROM AVOIR")).toInt(), 1);
}

INSTANTIATE_TEST_SUITE_P(CreditNote, CreditNoteEntryEnded,
                         ::testing::Values(EndsTheEntry{"Supprimer",
                                                        [](Ui::Form1& ui, Session&) {
                                                            QTest::mouseClick(ui.Command8, Qt::LeftButton);
                                                        }},
                                           EndsTheEntry{"FactAnnul",
                                                        [](Ui::Form1& ui, Session&) {
                                                            QTest::mouseClick(ui.Command17, Qt::LeftButton);
                                                        }},
                                           EndsTheEntry{"Lancer",
                                                        [](Ui::Form1& ui, Session& m) {
                                                            QTest::mouseClick(ui.Command15, Qt::LeftButton);
                                                            auto* launch = m.form4->findChild<QPushButton*>(
                                                                QStringLiteral("Command1"));
                                                            QTest::mouseClick(launch, Qt::LeftButton);
                                                        }}),
                         [](const auto& info) { return std::string(info.param.name); });
