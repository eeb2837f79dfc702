#include "editing/form5.h"
#include "editing/line_dialog.h"
#include "support/gui_fixture.h"
#include "support/typing.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <array>
#include <stdexcept>

using namespace pylon;
using namespace pylon::test;

namespace {

// The lines of a document as stored, in their order: "NB|Qt|Design|PU|Mnt" joined by ";".
const char* const kLinesOf = "SELECT group_concat(NB||'|'||Qt||'|'||Design||'|'||PU||'|'||Mnt, ';') FROM "
                             "(SELECT * FROM %1 WHERE NumFact = %2 ORDER BY rowid)";

class LineDialog : public EditorTest {
  protected:
    // Invoice 4 (shown first) has four lines, the last one saved with single-space cells; invoice 8 has a
    // credit note with two lines of its own.
    void SetUp() override {
        ASSERT_TRUE(file.exec(
            QStringLiteral("INSERT INTO CliEC VALUES (7, 0, 0);"
                           "INSERT INTO Facture VALUES (4, '2004-03-01', 7, 'A', 'a', 'Facture', 0, 0);"
                           "INSERT INTO Facture VALUES (8, '2004-03-02', 7, 'A', 'a', 'Facture', 1, 0);"
                           "INSERT INTO DetFact VALUES (4, '1', '5', 'Vis', '1,20', '6,00');"
                           "INSERT INTO DetFact VALUES (8, '1', '2', 'Retour', '10,00', '20,00');"
                           "INSERT INTO DetFact VALUES (4, '2', '2', 'Boulon', '4,00', '8,00');"
                           "INSERT INTO DetFact VALUES (4, '3', '3', 'Ecrou', '10,00', '30,00');"
                           "INSERT INTO DetFact VALUES (4, ' ', ' ', '  Livraison comprise', ' ', ' ');"
                           "INSERT INTO AVOIR VALUES (8, '1', '2', 'Retour', '10,00', '20,00');"
                           "INSERT INTO AVOIR VALUES (8, '2', '1', 'Reprise', '5,00', '5,00');")));
        if (arrange) {
            ASSERT_TRUE(file.exec(QString::fromUtf8(arrange)));
        }
        start();
        editor->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
        ASSERT_EQ(ui().txtNumFact->text(), "4");
    }

    QString stored(const char* table, int number) const {
        return file.scalar(QString::fromUtf8(kLinesOf).arg(QLatin1String(table)).arg(number));
    }
    static QPoint rowCentre(QListWidget* list, int row) {
        return list->visualItemRect(list->item(row)).center();
    }
    void clickRow(QListWidget* list, int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(list, row));
    }
    // Opens the dialog on a row and waits for it to be the active window, as the user sees it.
    Form5& open(QListWidget* list, int row) {
        // The press before the double-click, as a real double-click has it.
        clickRow(list, row);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rowCentre(list, row));
        auto* d = qobject_cast<Form5*>(m->form5.get());
        if (!d || !QTest::qWaitForWindowActive(d)) throw std::runtime_error("the line dialog did not open");
        return *d;
    }
    // Replaces a box's text with real keys: select all, type, Enter.
    static void retype(QLineEdit* box, const QString& typed, bool enter = true) {
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, typed);
        if (enter) QTest::keyClick(box, Qt::Key_Return);
    }
    int storedLineCount() const { return count("DetFact").toInt(); }

    const char* arrange = nullptr;
};

const QString kInvoice4 = QStringLiteral("1|5|Vis|1,20|6,00;2|2|Boulon|4,00|8,00;3|3|Ecrou|10,00|30,00;"
                                         " | |  Livraison comprise| | ");

} // namespace

TEST_F(LineDialog, TheFiveColumnsSelectOneRowTogether) {
    QSignalSpy firstColumn(ui().List1, &QListWidget::itemSelectionChanged);
    clickRow(ui().List3, 3);
    for (int c = 1; c <= 5; ++c) {
        QListWidget* l =
            std::array{ui().List1, ui().List2, ui().List3, ui().List4, ui().List5}[size_t(c - 1)];
        ASSERT_EQ(l->selectedItems().size(), 1) << c;
        EXPECT_EQ(l->row(l->selectedItems().first()), 3) << c;
    }
    EXPECT_EQ(firstColumn.count(), 1) << "one change per list, no cascade back";
    clickRow(ui().List5, 0);
    EXPECT_EQ(ui().List2->currentRow(), 0);
    EXPECT_EQ(ui().List3->currentRow(), 0);

    // With no row selected, a double-click (below the lines) opens nothing.
    for (QListWidget* l : {ui().List1, ui().List2, ui().List3, ui().List4, ui().List5})
        l->clearSelection();
    QTest::mouseDClick(ui().List1->viewport(), Qt::LeftButton, {},
                       QPoint(10, ui().List1->viewport()->height() - 4));
    EXPECT_TRUE(!m->form5 || !m->form5->isVisible());
}

TEST_F(LineDialog, KeysInTheBoxes) {
    Form5& d = open(ui().List1, 0);
    EXPECT_EQ(d.windowTitle(), "Modification de la facture.");
    EXPECT_EQ(m->lineDialog.Tag, "4");
    QTest::keyClick(d.ui.Text1, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), d.ui.Text2);
    retype(d.ui.Text2, QStringLiteral("2.5"));
    EXPECT_EQ(d.ui.Text2->text(), "2,5");
    EXPECT_EQ(d.ui.Text5->text(), "3") << "2,5 x 1,20 as a plain number";
    EXPECT_EQ(QApplication::focusWidget(), d.ui.Text3);
    QTest::keyClicks(d.ui.Text3, QString(60, u'x'));
    EXPECT_EQ(d.ui.Text3->text().size(), 53);
    QTest::keyClick(d.ui.Text3, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), d.ui.Text4);
    d.ui.Text5->setFocus();
    retype(d.ui.Text5, QStringLiteral("4.5"));
    EXPECT_EQ(d.ui.Text5->text(), "4,5");
    EXPECT_EQ(QApplication::focusWidget(), d.ui.Text5) << "Enter in the amount goes nowhere";
    retype(d.ui.Text2, QStringLiteral("deux"), false);
    EXPECT_EQ(d.ui.Text5->text(), "4,5") << "no number, no proposal";
}

TEST_F(LineDialog, ValidatingRewritesTheStoredInvoice) {
    Form5& d = open(ui().List2, 2);
    EXPECT_EQ(m->lineDialog.row, 2);
    EXPECT_EQ(d.ui.Text3->text(), "Ecrou");
    EXPECT_EQ(d.ui.Text4->text(), "10,00");
    EXPECT_EQ(d.ui.Text5->text(), "30,00") << "the stored amount, not a product";
    retype(d.ui.Text4, QStringLiteral("12"));
    EXPECT_EQ(d.ui.Text5->text(), "36");
    EXPECT_EQ(QApplication::focusWidget(), d.ui.Text5);
    QTest::mouseClick(d.ui.Command1, Qt::LeftButton);

    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(stored("DetFact", 4),
              "1|5|Vis|     1,20|     6,00;2|2|Boulon|     4,00|     8,00;3|3|Ecrou|12|36;"
              " | |  Livraison comprise|      |      ")
        << "the other lines as their rows show them";
    EXPECT_EQ(stored("DetFact", 8), "1|2|Retour|10,00|20,00");
    EXPECT_EQ(ui().txtNumFact->text(), "4");
    EXPECT_EQ(column(4).at(2).trimmed(), "12,00");
    EXPECT_EQ(ui().txtTotalHT->text().trimmed(), "50,00");
    EXPECT_EQ(ui().txtTotalTTC->text().trimmed(), "60,00");
    EXPECT_EQ(m->CurrentLine, 0);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(LineDialog, SingleSpaceCellsShowEmptyAndAreRewrittenEmpty) {
    Form5& d = open(ui().List3, 3);
    for (QLineEdit* box : {d.ui.Text1, d.ui.Text2, d.ui.Text4, d.ui.Text5})
        EXPECT_EQ(box->text(), "") << box->objectName().toStdString();
    EXPECT_EQ(d.ui.Text3->text(), "  Livraison comprise") << "the designation keeps its spaces";
    QTest::mouseClick(d.ui.Command1, Qt::LeftButton);
    EXPECT_EQ(stored("DetFact", 4), "1|5|Vis|     1,20|     6,00;2|2|Boulon|     4,00|     8,00;"
                                    "3|3|Ecrou|    10,00|    30,00;||  Livraison comprise||");
    EXPECT_EQ(file.scalar(QStringLiteral("SELECT count(*) FROM DetFact WHERE NumFact = 4 AND NB IS NULL")),
              "0")
        << "an empty text, never a missing value";
    EXPECT_EQ(column(3).at(3), "  Livraison comprise");
    EXPECT_EQ(column(5).at(3), "") << "an empty amount shows empty and adds nothing";
    EXPECT_EQ(ui().txtTotalHT->text().trimmed(), "44,00");
}

TEST_F(LineDialog, ValidatingACreditNoteRewritesItsOwnLines) {
    arrangeKind(DocKind::CreditNote);
    ASSERT_EQ(ui().txtNumFact->text(), "8");
    Form5& d = open(ui().List1, 1);
    retype(d.ui.Text2, QStringLiteral("4"));
    EXPECT_EQ(d.ui.Text5->text(), "20");
    QTest::mouseClick(d.ui.Command1, Qt::LeftButton);
    EXPECT_EQ(stored("AVOIR", 8), "1|2|Retour|    10,00|    20,00;2|4|Reprise|5,00|20");
    EXPECT_EQ(stored("DetFact", 8), "1|2|Retour|10,00|20,00");
    EXPECT_EQ(stored("DetFact", 4), kInvoice4);
    EXPECT_EQ(ui().txtNumFact->text(), "8");
    EXPECT_EQ(column(2), QStringList({"2", "4"}));
    EXPECT_EQ(ui().txtTotalHT->text().trimmed(), "40,00");
}

TEST_F(LineDialog, DuringAnEntryOnlyTheListsChange) {
    QTest::mouseClick(ui().Command5, Qt::LeftButton);
    ASSERT_TRUE(ui().Command10->isEnabled());
    for (int i = 0; i < 5; ++i)
        typeLine(ui().txtPointeur, {QString::number(i + 1), "2", "Article", "10", QString()});
    ASSERT_EQ(m->CurrentLine, 5);
    const QString number = ui().txtNumFact->text();
    const int linesBefore = storedLineCount();

    Form5& d = open(ui().List3, 2);
    retype(d.ui.Text2, QStringLiteral("7"));
    QTest::mouseClick(d.ui.Command1, Qt::LeftButton);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(column(2).at(2), "7");
    EXPECT_EQ(column(5).at(2), "70");
    EXPECT_EQ(m->CurrentLine, 5) << "back to the row under the pointer";
    EXPECT_EQ(storedLineCount(), linesBefore);
    EXPECT_EQ(file.scalar(QStringLiteral("SELECT count(*) FROM Facture WHERE NumFact = %1").arg(number)),
              "0");
    EXPECT_EQ(ui().txtTotalHT->text().trimmed(), "150,00") << "the line went from 20 to 70";
    EXPECT_EQ(ui().txtTVA->text().trimmed(), "30,00");
    EXPECT_EQ(ui().txtTotalTTC->text().trimmed(), "180,00");

    typeLine(ui().txtPointeur, {"6", "2", "Article", "10", QString()});
    EXPECT_EQ(column(1), QStringList({"1", "2", "3", "4", "5", "6"}));
    EXPECT_EQ(ui().txtTotalHT->text().trimmed(), "170,00");
}

TEST_F(LineDialog, CancellingDuringAnEntryKeepsTypingWhereThePointerIs) {
    QTest::mouseClick(ui().Command5, Qt::LeftButton);
    typeLine(ui().txtPointeur, {"1", "1", "A", "1", QString()});
    typeLine(ui().txtPointeur, {"2", "1", "B", "1", QString()});
    Form5& d = open(ui().List1, 0);
    EXPECT_EQ(m->CurrentLine, 2) << "the dialog keeps its row apart from the pointer's";
    retype(d.ui.Text1, QStringLiteral("autre"));
    QTest::mouseClick(d.ui.Command2, Qt::LeftButton);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(m->CurrentLine, 2);
    typeLine(ui().txtPointeur, {"3", "1", "C", "1", QString()});
    EXPECT_EQ(column(1), QStringList({"1", "2", "3"}));
    EXPECT_EQ(column(3), QStringList({"A", "B", "C"}));
}

TEST_F(LineDialog, AnEditOfADocumentNoLongerShownIsNotWritten) {
    Form5& d = open(ui().List1, 0);
    retype(d.ui.Text3, QStringLiteral("Autre"));
    QTest::mouseClick(ui().Command3, Qt::LeftButton); // ">": the editor moves on to invoice 8
    ASSERT_EQ(ui().txtNumFact->text(), "8");
    QTest::mouseClick(d.ui.Command1, Qt::LeftButton);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, "Attention");
    EXPECT_EQ(stored("DetFact", 4), kInvoice4);
    EXPECT_EQ(stored("DetFact", 8), "1|2|Retour|10,00|20,00");
    EXPECT_EQ(column(3), QStringList({"Retour"}));
    EXPECT_TRUE(d.isVisible()) << "open, to double-click the line again";
}

// The editor fills its lines anew and shows the same document again: the dialog's row may name another
// line by now, so its edit is refused until the line is double-clicked again.
struct Redisplay {
    const char* name;
    void (*act)(Ui::Form1&);
};

class LineDialogAfterRedisplay : public LineDialog, public ::testing::WithParamInterface<Redisplay> {};

TEST_P(LineDialogAfterRedisplay, TheEditIsRefusedUntilTheLineIsChosenAgain) {
    Form5& d = open(ui().List1, 2);
    retype(d.ui.Text3, QStringLiteral("Autre"));
    GetParam().act(ui());
    ASSERT_EQ(ui().txtNumFact->text(), "4");
    QTest::mouseClick(d.ui.Command1, Qt::LeftButton);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, "Attention");
    EXPECT_EQ(stored("DetFact", 4), kInvoice4);
    EXPECT_TRUE(d.isVisible());

    open(ui().List1, 1);
    EXPECT_EQ(d.ui.Text3->text(), "Boulon") << "a double-click refills the open dialog";
    retype(d.ui.Text3, QStringLiteral("Autre"));
    QTest::mouseClick(d.ui.Command1, Qt::LeftButton);
    EXPECT_EQ(column(3), QStringList({"Vis", "Autre", "Ecrou", "  Livraison comprise"}));
    EXPECT_FALSE(d.isVisible());
}

INSTANTIATE_TEST_SUITE_P(LineDialog, LineDialogAfterRedisplay,
                         ::testing::Values(Redisplay{"StepAwayAndBack",
                                                     [](Ui::Form1& ui) {
                                                         QTest::mouseClick(ui.Command3, Qt::LeftButton);
                                                         QTest::mouseClick(ui.Command2, Qt::LeftButton);
                                                     }},
                                           Redisplay{"LookUpTheSameNumber",
                                                     [](Ui::Form1& ui) {
                                                         QTest::keyClick(ui.txtNumFact, Qt::Key_Return);
                                                     }},
                                           Redisplay{"EntryBegunAndDropped",
                                                     [](Ui::Form1& ui) {
                                                         QTest::mouseClick(ui.Command5, Qt::LeftButton);
                                                         QTest::mouseClick(ui.Command10, Qt::LeftButton);
                                                     }}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LineDialog, ALineOfADroppedEntryNeverReachesTheStoredDocument) {
    QTest::mouseClick(ui().Command5, Qt::LeftButton);
    typeLine(ui().txtPointeur, {"N", "1", "Nouveau", "1", QString()});
    Form5& d = open(ui().List1, 0);
    QTest::mouseClick(ui().Command10, Qt::LeftButton); // the entry is dropped, invoice 4 is shown again
    ASSERT_FALSE(ui().Command10->isEnabled());
    QTest::mouseClick(d.ui.Command1, Qt::LeftButton);
    EXPECT_EQ(stored("DetFact", 4), kInvoice4);
    EXPECT_EQ(column(3).at(0), "Vis");
}

TEST_F(LineDialog, TypingGoesOnUnderThePointerWhileTheDialogIsOpen) {
    QTest::mouseClick(ui().Command5, Qt::LeftButton);
    typeLine(ui().txtPointeur, {"1", "1", "A", "1", QString()});
    typeLine(ui().txtPointeur, {"2", "2", "B", "2", QString()});
    QTest::keyClicks(ui().txtPointeur, QStringLiteral("3"));
    QTest::keyClick(ui().txtPointeur, Qt::Key_Return); // the third line's N.B. is stored
    Form5& d = open(ui().List3, 0);
    ASSERT_TRUE(d.isVisible());
    ui().txtPointeur->activateWindow();
    ui().txtPointeur->setFocus();
    for (const QString& cell : {QStringLiteral("3"), QStringLiteral("C"), QStringLiteral("3")}) {
        QTest::keyClicks(ui().txtPointeur, cell);
        QTest::keyClick(ui().txtPointeur, Qt::Key_Return);
    }
    QTest::keyClick(ui().txtPointeur, Qt::Key_Return);
    EXPECT_EQ(column(1), QStringList({"1", "2", "3"}));
    EXPECT_EQ(column(2), QStringList({"1", "2", "3"}));
    EXPECT_EQ(column(3), QStringList({"A", "B", "C"}));
    EXPECT_EQ(column(5), QStringList({"1,00", "4,00", "9,00"}));
    QTest::mouseClick(d.ui.Command1, Qt::LeftButton);
    EXPECT_EQ(column(3), QStringList({"A", "B", "C"})) << "the dialog wrote its own row back, unchanged";
}

class LineDialogRefused : public LineDialog {
  protected:
    void SetUp() override {
        arrange = "CREATE TRIGGER refuse_lines BEFORE INSERT ON DetFact "
                  "BEGIN SELECT RAISE(ABORT, 'lignes refusées'); END;";
        LineDialog::SetUp();
    }
};

TEST_F(LineDialogRefused, AFailedRewriteKeepsEveryStoredLine) {
    Form5& d = open(ui().List1, 2);
    retype(d.ui.Text4, QStringLiteral("12"));
    QTest::mouseClick(d.ui.Command1, Qt::LeftButton);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(
        boxes.shown[0].text.startsWith(QStringLiteral("La modification n'a pas pu être enregistrée : ")));
    EXPECT_TRUE(boxes.shown[0].text.contains(QStringLiteral("lignes refusées")));
    EXPECT_EQ(stored("DetFact", 4), kInvoice4);
    EXPECT_TRUE(d.isVisible()) << "the edit stays in the dialog";
    EXPECT_EQ(column(4).at(2).trimmed(), "10,00");
}
