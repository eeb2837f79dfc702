#include "support/gui_fixture.h"

#include <QTest>

using namespace pylon;
using namespace pylon::test;

namespace {

class EditorView : public EditorTest {
  protected:
    void SetUp() override { start(); }
};

} // namespace

TEST_F(EditorView, TheHeaderShownIsTheHeaderRead) {
    editor->showHeader({"12", "01/02/2004", {"7", "Alami SARL", "Rue 1\nCasablanca", true}});
    EXPECT_EQ(ui().txtAdrCli->toPlainText(), "Rue 1\nCasablanca");
    EXPECT_TRUE(ui().Check1->isChecked());
    const ShownHeader read = editor->typedHeader();
    EXPECT_EQ(read.number, "12");
    EXPECT_EQ(read.date, "01/02/2004");
    EXPECT_EQ(read.client.number, "7");
    EXPECT_EQ(read.client.name, "Alami SARL");
    EXPECT_EQ(read.client.address, "Rue 1\nCasablanca");
    EXPECT_TRUE(read.client.onAccount);
    editor->clearClient();
    EXPECT_EQ(editor->fieldText(EditorField::Client), "");
    EXPECT_EQ(editor->fieldText(EditorField::Address), "");
    EXPECT_FALSE(ui().Check1->isChecked());
    EXPECT_EQ(editor->fieldText(EditorField::Number), "12") << "only the client's fields are emptied";
}

TEST_F(EditorView, LinesAreAsManyAsTheFirstColumnHasRows) {
    editor->showLineColumns({QStringList{"R1", "R2"}, QStringList{"1"}, {}, {}, {}});
    EXPECT_EQ(editor->lineCount(), 2);
    EXPECT_EQ(editor->columnRows(1), 1);
    const std::vector<QStringList> lines = editor->shownLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], QStringList({"R1", "1", "", "", ""}));
    EXPECT_EQ(lines[1], QStringList({"R2", "", "", "", ""}));
}

TEST_F(EditorView, AMissingCellStaysMissing) {
    editor->showLineColumns({QStringList{"R1", "R2"}, QStringList{"1"}, {}, {}, {}});
    editor->setCellText(1, 1, "9");
    EXPECT_EQ(column(2), QStringList({"1"}));
    editor->setCellText(0, 1, "R3");
    EXPECT_EQ(column(1), QStringList({"R1", "R3"}));
    editor->insertCell(1, 1, "2");
    EXPECT_EQ(column(2), QStringList({"1", "2"}));
}

TEST_F(EditorView, SelectingNoRowTakesTheSelectionAway) {
    editor->showLineColumns({QStringList{"R1", "R2"}, QStringList{"1", "2"}, {}, {}, {}});
    editor->selectRow(1, 1);
    EXPECT_EQ(editor->selectedRow(1), 1);
    editor->selectRow(1, -1);
    EXPECT_EQ(editor->selectedRow(1), -1);
}

TEST_F(EditorView, EntryButtonsAreWatchedWhileTheWatcherLives) {
    auto watcher = std::make_unique<QObject>();
    int told = 0;
    editor->onEntryButtonsEnabledChange(watcher.get(), [&told] { ++told; });
    editor->enableEntryButtons(true);
    EXPECT_EQ(told, 1);
    EXPECT_TRUE(ui().Command6->isEnabled());
    EXPECT_TRUE(ui().Command10->isEnabled());
    watcher.reset();
    editor->enableEntryButtons(false);
    EXPECT_EQ(told, 1);
    EXPECT_FALSE(ui().Command6->isEnabled());
}

TEST_F(EditorView, AButtonSetsOffWhatIsGivenForIt) {
    int clicked = 0;
    editor->onButton(EditorButton::First, [&clicked] { ++clicked; });
    QTest::mouseClick(ui().Command1, Qt::LeftButton);
    EXPECT_EQ(clicked, 1);
}

TEST_F(EditorView, TheCursorGoesToTheFieldAsked) {
    editor->focusField(EditorField::Address);
    EXPECT_TRUE(focusIs(ui().txtAdrCli));
    editor->focusField(EditorField::Client);
    EXPECT_TRUE(focusIs(ui().txtNumCli));
}
