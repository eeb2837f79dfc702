#include "support/gui_fixture.h"
#include "support/typing.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>

using namespace pylon;
using namespace pylon::test;

namespace {

// Invoice 4 (shown first) has three lines; invoice 8 only one. A line is deleted by the Suppr key or by
// the editor's right-click menu, whichever the parameter says.
enum class Asked { ByKey, ByMenu };

class LineDeletion : public EditorTest, public ::testing::WithParamInterface<Asked> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(file.exec(
            QStringLiteral("INSERT INTO CliEC VALUES (7, 0, 0);"
                           "INSERT INTO Facture VALUES (4, '2004-03-01', 7, 'A', 'a', 'Facture', 0, 0);"
                           "INSERT INTO Facture VALUES (8, '2004-03-02', 7, 'A', 'a', 'Facture', 0, 0);"
                           "INSERT INTO DetFact VALUES (4, '1', '5', 'Vis', '1,20', '6,00');"
                           "INSERT INTO DetFact VALUES (4, '2', '2', 'Boulon', '4,00', '8,00');"
                           "INSERT INTO DetFact VALUES (4, '3', '3', 'Ecrou', '10,00', '30,00');"
                           "INSERT INTO DetFact VALUES (8, '1', '2', 'Retour', '10,00', '20,00');")));
        start();
        editor->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
        ASSERT_EQ(ui().txtNumFact->text(), "4");
    }
    QString stored(int number) const {
        return file.scalar(QStringLiteral("SELECT group_concat(Design, '|') FROM (SELECT Design FROM DetFact "
                                          "WHERE NumFact = %1 ORDER BY rowid)")
                               .arg(number));
    }
    // The Suppr key on a row of the designations, or "Supprimer la ligne" in the menu of a right click on it.
    void pressDelete(int row) {
        ui().List3->setCurrentRow(row);
        if (GetParam() == Asked::ByKey) {
            QTest::keyClick(ui().List3, Qt::Key_Delete);
            return;
        }
        QWidget* view = ui().List3->viewport();
        const QPoint at = ui().List3->visualItemRect(ui().List3->item(row)).center();
        QContextMenuEvent e(QContextMenuEvent::Mouse, at, view->mapToGlobal(at));
        QApplication::sendEvent(view, &e);
        auto* menu = editor->findChild<QMenu*>(QStringLiteral("printMenu"));
        ASSERT_TRUE(menu && QTest::qWaitFor([menu] { return menu->isVisible(); }, 1000));
        QAction* entry = menu->findChild<QAction*>(QStringLiteral("actionDeleteLine"));
        ASSERT_TRUE(entry && entry->isVisible() && entry->isEnabled());
        EXPECT_EQ(menu->actions().first(), entry) << "first in the menu";
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(entry).center());
    }
};

} // namespace

TEST_P(LineDeletion, AStoredLineGoesAfterTheQuestionAndEnterKeepsIt) {
    boxes.answers = {BoxAnswerer::kEnter};
    pressDelete(1);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Supprimer la ligne n° 2 ?");
    EXPECT_EQ(stored(4), "Vis|Boulon|Ecrou") << "Enter answers Non";

    boxes.answers = {QStringLiteral("&Oui")};
    pressDelete(1);
    EXPECT_EQ(stored(4), "Vis|Ecrou");
    EXPECT_EQ(column(3), QStringList({"Vis", "Ecrou"}));
    EXPECT_EQ(ui().txtTotalHT->text().trimmed(), "36,00");

    QTest::mouseClick(ui().Command3, Qt::LeftButton); // invoice 8, one line
    boxes.shown.clear();
    pressDelete(0);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("supprimez le document")));
    EXPECT_EQ(stored(8), "Retour") << "the last line of a document stays";
}

TEST_P(LineDeletion, DuringAnEntryTheLineLeavesTheEntryAndItsTotals) {
    QTest::mouseClick(ui().Command5, Qt::LeftButton);
    ui().txtNumCli->setText(QStringLiteral("9"));
    ui().txtNomCli->setText(QStringLiteral("N"));
    ui().txtAdrCli->setPlainText(QStringLiteral("A"));
    typeLine(ui().txtPointeur, {"1", "1", "A", "1", QString()});
    typeLine(ui().txtPointeur, {"2", "1", "B", "2", QString()});
    typeLine(ui().txtPointeur, {"3", "1", "C", "4", QString()});
    ASSERT_EQ(ui().txtTotalHT->text().trimmed(), "7,00");
    pressDelete(1);
    EXPECT_TRUE(boxes.shown.empty()) << "nothing stored yet: nothing to ask";
    EXPECT_EQ(column(3), QStringList({"A", "C"}));
    EXPECT_EQ(ui().txtTotalHT->text().trimmed(), "5,00");
    EXPECT_EQ(m->CurrentLine, 2);
    typeLine(ui().txtPointeur, {"4", "1", "D", "8", QString()});
    EXPECT_EQ(column(3), QStringList({"A", "C", "D"})) << "typing goes on under the last line";
    QTest::mouseClick(ui().Command6, Qt::LeftButton);
    EXPECT_EQ(stored(9), "A|C|D");
}

INSTANTIATE_TEST_SUITE_P(LineDeletion, LineDeletion, ::testing::Values(Asked::ByKey, Asked::ByMenu),
                         [](const auto& info) { return info.param == Asked::ByKey ? "ByKey" : "ByMenu"; });
