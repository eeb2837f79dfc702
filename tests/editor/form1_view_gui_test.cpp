#include "editor/show_document.h"
#include "support/gui_fixture.h"

#include "support/typing.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QScrollBar>
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

// The document on screen is data the editor renders: after whatever the user does, the header, the lines
// and the pointer the program reads are exactly what the window shows.
struct UserAction {
    const char* name;
    void (*act)(Ui::Form1&);
};

class DocumentAsData : public EditorView, public ::testing::WithParamInterface<UserAction> {};

TEST_P(DocumentAsData, TheProgramReadsWhatTheWindowShows) {
    GetParam().act(ui());
    const ShownHeader shown = editor->typedHeader();
    EXPECT_EQ(m->header.number, shown.number);
    EXPECT_EQ(m->header.date, shown.date);
    EXPECT_EQ(m->header.client.number, shown.client.number);
    EXPECT_EQ(m->header.client.name, shown.client.name);
    EXPECT_EQ(m->header.client.address, shown.client.address);
    EXPECT_EQ(m->header.client.onAccount, shown.client.onAccount);
    EXPECT_EQ(m->pointerText, ui().txtPointeur->text());
    for (int c = 0; c < kLineColumns; ++c)
        EXPECT_EQ(m->lines->columns[size_t(c)], column(c + 1)) << "column " << c + 1;
}

INSTANTIATE_TEST_SUITE_P(
    EditorView, DocumentAsData,
    ::testing::Values(UserAction{"FirstDocumentShown", [](Ui::Form1&) {}},
                      UserAction{"StepForward",
                                 [](Ui::Form1& ui) { QTest::mouseClick(ui.Command3, Qt::LeftButton); }},
                      UserAction{"EntryWithALineAndAHalf",
                                 [](Ui::Form1& ui) {
                                     QTest::mouseClick(ui.Command5, Qt::LeftButton);
                                     typeText(ui.txtNumCli, QStringLiteral("77"));
                                     typeText(ui.txtNomCli, QStringLiteral("Nouveau client"));
                                     typeText(ui.txtAdrCli, QStringLiteral("Rue 2"));
                                     typeLine(ui.txtPointeur, {"1", "2", "Vis", "1.5", QString()});
                                     typeLine(ui.txtPointeur, {"2", "3"});
                                     typeText(ui.txtPointeur, QStringLiteral("Ecr"));
                                 }},
                      UserAction{"PastedLineBreaksCleaned",
                                 [](Ui::Form1& ui) {
                                     QTest::mouseClick(ui.Command5, Qt::LeftButton);
                                     ui.txtNomCli->setFocus();
                                     QGuiApplication::clipboard()->setText(QStringLiteral("Nom\ncollé\tici"));
                                     QTest::keyClick(ui.txtNomCli, Qt::Key_V, Qt::ControlModifier);
                                 }},
                      UserAction{"EntryDropped",
                                 [](Ui::Form1& ui) {
                                     QTest::mouseClick(ui.Command5, Qt::LeftButton);
                                     typeLine(ui.txtPointeur, {"1", "2", "Vis", "1", QString()});
                                     QTest::mouseClick(ui.Command10, Qt::LeftButton);
                                 }},
                      UserAction{"NumberLookedUp",
                                 [](Ui::Form1& ui) {
                                     ui.txtNumFact->selectAll();
                                     typeText(ui.txtNumFact, QStringLiteral("8"));
                                     QTest::keyClick(ui.txtNumFact, Qt::Key_Return);
                                 }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditorView, ALongDocumentGetsOneScrollBarThatMovesTheFiveColumns) {
    auto* bar = editor->findChild<QScrollBar*>(QStringLiteral("LinesScrollBar"));
    ASSERT_TRUE(bar);
    EXPECT_GE(bar->x(), ui().List5->geometry().right()) << "beside the amounts, never over them";
    EXPECT_LE(bar->geometry().right(), editor->width() - 1);
    LineColumnTexts columns;
    for (int row = 0; row < 127; ++row)
        for (QStringList& c : columns)
            c << QString::number(row);
    showLines(*m, DocKind::MonthEnd, QStringLiteral("60"), columns);
    QApplication::processEvents();
    ASSERT_TRUE(bar->isVisibleTo(editor.get())) << "127 lines do not fit: the bar says so";
    bar->setValue(bar->maximum());
    for (QListWidget* list : {ui().List1, ui().List2, ui().List3, ui().List4, ui().List5})
        EXPECT_EQ(list->verticalScrollBar()->value(), bar->maximum()) << list->objectName().toStdString();

    showLines(*m, DocKind::Invoice, QStringLiteral("4"), {QStringList{"1"}, {"1"}, {"Vis"}, {"1"}, {"1"}});
    QApplication::processEvents();
    EXPECT_FALSE(bar->isVisibleTo(editor.get())) << "a short document shows no bar";
}
