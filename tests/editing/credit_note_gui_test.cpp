#include "browse/form2.h"
#include "editor/show_document.h"
#include "support/gui_fixture.h"
#include "support/typing.h"

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
        m->kind = DocKind::CreditNote;
        m->rsDoc = RecordSet::open(m->db, kindInfo(DocKind::CreditNote).viewSql);
        ShowCurrentDocument(*m);
    }
    Form2& list() { return *static_cast<Form2*>(m->form2.get()); }
    void pick(int row) {
        QListWidget* l = list().ui.List1;
        const QPoint at = l->visualItemRect(l->item(row)).center();
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(l->viewport(), Qt::LeftButton, {}, at);
    }
};

} // namespace

TEST_F(CreditNote, AttachedTypedAndSaved) {
    QTest::mouseClick(ui().Command5, Qt::LeftButton);
    ASSERT_TRUE(m->form2);
    EXPECT_EQ(list().windowTitle(), "Attaché Avoir au facture :");
    EXPECT_EQ(column(1), QStringList()) << "the editor is untouched by opening the list";
    QStringList numbers;
    for (int i = 0; i < list().ui.List1->count(); ++i)
        numbers << list().ui.List1->item(i)->text();
    EXPECT_EQ(numbers, QStringList({"3", "4"})) << "documents of every kind";
    EXPECT_EQ(list().ui.List2->item(0)->text(), "02/03/2026");
    EXPECT_EQ(list().ui.List3->item(1)->text(), "9");

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
    ui().Command10->setEnabled(true); // an entry under way
    ui().txtNumFact->setText(QStringLiteral("typed"));
    pick(1);
    EXPECT_EQ(ui().txtNumFact->text(), "typed");
}
