// Text that comes in past the key handlers: pasted with the keys or the context menu, or dropped. The
// fields keep only what could have been typed there, and nothing else reaches the file.
#include "domain/kinds.h"
#include "editing/form5.h"
#include "editing/line_entry.h"
#include "support/gui_fixture.h"
#include "support/typing.h"
#include "widgets/paste_guard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QMenu>
#include <QMimeData>
#include <QRegularExpression>
#include <QTest>

using namespace pylon;
using namespace pylon::test;

namespace {

void pasteKeys(QWidget* w, const QString& text) {
    QGuiApplication::clipboard()->setText(text);
    QTest::keySequence(w, QKeySequence::Paste);
}

// The field's own context menu, and its "Coller" (paste) entry.
void pasteFromMenu(QLineEdit* w, const QString& text) {
    QGuiApplication::clipboard()->setText(text);
    QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(4, 4), w->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(w, &e);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_TRUE(menu);
    QAction* paste = nullptr;
    for (QAction* a : menu->actions())
        if (a->text().remove(QLatin1Char('&')).startsWith(QStringLiteral("Coller"))) paste = a;
    ASSERT_TRUE(paste);
    paste->trigger();
    menu->close();
}

// A drag coming in over the field, then let go: the drop only goes to a widget that took the drag.
void drop(QWidget* w, const QString& text) {
    QMimeData data;
    data.setText(text);
    QDragEnterEvent enter(QPoint(4, 4), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &enter);
    QDropEvent e(QPointF(4, 4), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

bool hasControlCharacter(const QString& s) {
    return std::any_of(s.begin(), s.end(), [](QChar c) { return c.unicode() < 32 || c.unicode() == 127; });
}

class Paste : public EditorTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(file.exec(
            QStringLiteral("INSERT INTO CliEC VALUES (7, 0, 0);"
                           "INSERT INTO Facture VALUES (3, '2004-01-02', 7, 'A', 'a', 'Facture', 0, 0);"
                           "INSERT INTO DetFact VALUES (3, '1', '2', 'Vis', '5,00', '10,00');"
                           "INSERT INTO Facture VALUES (12, '2004-01-03', 7, 'A', 'a', 'Facture', 0, 0);"
                           "INSERT INTO DetFact VALUES (12, '1', '1', 'Douze', '1,00', '1,00');")));
        start();
        editor->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
        QGuiApplication::clipboard()->clear();
    }
    QLineEdit* p() const { return ui().txtPointeur; }
    // "Aj&outer", then a header that saving accepts; the pointer waits on the first cell.
    void beginEntry() {
        QTest::mouseClick(ui().Command5, Qt::LeftButton);
        ui().txtNumCli->setText(QStringLiteral("7"));
        ui().txtNomCli->setText(QStringLiteral("Alami"));
        ui().txtAdrCli->setPlainText(QStringLiteral("Rue 1"));
    }
    // The line dialog on a row of the document shown, as a double-click opens it.
    Form5* openLineDialog(int row) {
        QListWidget* list = ui().List3;
        const QPoint at = list->visualItemRect(list->item(row)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        auto* d = qobject_cast<Form5*>(m->form5.get());
        return d && QTest::qWaitForWindowActive(d) ? d : nullptr;
    }
    QString designs(int number) const {
        return file.scalar(
            QStringLiteral("SELECT group_concat(Design) FROM DetFact WHERE NumFact = %1").arg(number));
    }
};

} // namespace

TEST(PasteRule, KeepsWhatAKeyCouldType) {
    TextRule digits;
    digits.digitsOnly = true;
    digits.maxLength = 10;
    EXPECT_EQ(cleanText(QStringLiteral(" 12abc\n3 "), digits), "123");
    EXPECT_EQ(cleanText(QString::fromUtf8("١٢ N°4"), digits), "4") << "only the digits a key types";
    EXPECT_EQ(cleanText(QString(500, QLatin1Char('9')), digits), QString(10, QLatin1Char('9')));

    TextRule line;
    line.maxLength = 8;
    EXPECT_EQ(cleanText(QStringLiteral("a\tb\r\nc\nd"), line), "a b c d")
        << "a Windows line end is one space";
    EXPECT_EQ(cleanText(QString::fromUtf8("x\u0007\u200B\uFEFFy"), line), "xy")
        << "control and format characters";
    EXPECT_EQ(cleanText(QString::fromUtf8("é\u2028à"), line), "é à");
    EXPECT_EQ(cleanText(QString::fromUtf8("1234567😀"), line), "1234567") << "a pair is never cut in two";
    EXPECT_EQ(cleanText(QString::fromUtf8("12😀"), line), QString::fromUtf8("12😀"));
    EXPECT_EQ(cleanText(QString(QChar(0xD800)) + QStringLiteral("a"), line), "a") << "half a pair";

    TextRule address;
    address.keepLineBreaks = true;
    EXPECT_EQ(cleanText(QStringLiteral("Rue 1\r\nCasa\rblanca\t20000"), address),
              "Rue 1\nCasa\nblanca 20000");
    TextRule amount;
    amount.decimalComma = true;
    EXPECT_EQ(cleanText(QStringLiteral("1.5"), amount), "1,5");
}

TEST(PasteRule, CleansOnlyWhatTheUserBroughtIn) {
    TextRule digits;
    digits.digitsOnly = true;
    digits.maxLength = 10;
    TextRule line;
    line.maxLength = 6;
    const QString emoji = QString::fromUtf8("😀"), other = QString::fromUtf8("😁"); // the same first half
    const struct {
        QString before, after;
        qsizetype cursor;
        const TextRule& rule;
        QString text;
        qsizetype at;
    } rows[] = {
        {"12", "1a\t2", 3, digits, "12", 1},
        {"1 OR 2", "1 OR 2x3", 8, digits, "1 OR 23", 7},   // the program's text stays as it was
        {"a\tb", "a\tbc\nd", 6, line, "a\tbc d", 6},       // a tab set by the program too
        {"abc", "abXc", 0, line, "abXc", 3},               // an undo: the cursor is elsewhere
        {"abcd", "abcdefgh", 8, line, "abcdef", 6},        // cut to the room left
        {"abcdefgh", "abcdefghi", 9, line, "abcdefgh", 8}, // already too long: nothing more
        {"abcdefgh", "abXdefgh", 3, line, "abXdefgh", 3},  // but it can be changed within
        {"abcdefgh", "abcdefg", 7, line, "abcdefg", 7},    // and shortened
        {"abcde", "abcde" + emoji, 7, line, "abcde", 5},   // a pair is never cut in two
        {emoji, other + emoji, 4, line, other + emoji, 4}, // nor split by the common part
    };
    for (const auto& r : rows) {
        const CleanEdit e = cleanEdit(r.before, r.after, r.cursor, r.rule);
        EXPECT_EQ(e.text, r.text) << r.after.toStdString();
        EXPECT_EQ(e.cursor, r.at) << r.after.toStdString();
    }
}

TEST_F(Paste, TheClipboardWorksOnThisPlatform) {
    QGuiApplication::clipboard()->setText(QStringLiteral("42"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "42") << "the tests below paste through it";
}

TEST_F(Paste, NumberFieldsKeepOnlyTheDigitsOfWhatIsPasted) {
    const struct {
        QString pasted;
        const char* kept;
    } cases[] = {
        {QStringLiteral("abc"), ""},
        {QStringLiteral("  4 2 "), "42"},
        {QStringLiteral("12abc"), "12"},
        {QStringLiteral("3\n4\r\n"), "34"},
        {QStringLiteral("1 OR 1=1"), "111"},
        {QStringLiteral("5'; DROP TABLE Facture; --"), "5"},
        {QString(250, QLatin1Char('x')) + QString(250, QLatin1Char('8')), "8888888888"},
    };
    for (QLineEdit* field : {ui().txtNumFact, ui().txtNumCli}) {
        for (const auto& c : cases) {
            field->clear();
            pasteKeys(field, c.pasted);
            EXPECT_EQ(field->text(), c.kept)
                << field->objectName().toStdString() << " " << c.pasted.toStdString();
        }
    }
    EXPECT_EQ(count("Facture"), "2");
}

TEST_F(Paste, EveryWayInIsCleaned) {
    QLineEdit* field = ui().txtNumCli;
    field->clear();
    QGuiApplication::clipboard()->setText(QStringLiteral("a1b"));
    QTest::keyClick(field, Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(field->text(), "1");
    field->clear();
    pasteFromMenu(field, QStringLiteral("x2 y"));
    EXPECT_EQ(field->text(), "2");
    field->clear();
    drop(field, QStringLiteral("N° 3"));
    EXPECT_EQ(field->text(), "3");
    // Undo never brings back a text that was not clean.
    for (int i = 0; i < 4; ++i) {
        QTest::keySequence(field, QKeySequence::Undo);
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9]*$")).match(field->text()).hasMatch())
            << field->text().toStdString();
    }
}

TEST_F(Paste, ThePastedDigitsGoWhereTheCursorIsAndItStaysAfterThem) {
    QLineEdit* field = ui().txtNumFact;
    field->setText(QStringLiteral("15"));
    field->setCursorPosition(1);
    pasteKeys(field, QStringLiteral("x9y"));
    EXPECT_EQ(field->text(), "195");
    EXPECT_EQ(field->cursorPosition(), 2);
}

TEST_F(Paste, TypingStopsAtTenDigits) {
    QLineEdit* field = ui().txtNumCli;
    field->clear();
    typeText(field, QStringLiteral("123456789012"));
    EXPECT_EQ(field->text(), "1234567890");
}

TEST_F(Paste, TextsTheProgramPutsInAreLeftForItsOwnChecks) {
    // The month-end puts its answers in these fields and then judges them: they must reach it unchanged.
    ui().txtNumFact->setText(QStringLiteral("-5"));
    EXPECT_EQ(ui().txtNumFact->text(), "-5");
    ui().txtNumCli->setText(QStringLiteral("7 OR 1=1"));
    EXPECT_EQ(ui().txtNumCli->text(), "7 OR 1=1");
}

TEST_F(Paste, ALookupWithPastedTextLooksForItsDigits) {
    ASSERT_EQ(ui().txtNumFact->text(), "3");
    ui().txtNumFact->clear();
    pasteKeys(ui().txtNumFact, QString::fromUtf8("N° 12 !"));
    pressEnter(ui().txtNumFact);
    EXPECT_EQ(ui().txtNumFact->text(), "12");
    EXPECT_EQ(column(3), QStringList{"Douze"});
}

TEST_F(Paste, JunkInTheLookupFieldsNeverReachesTheFile) {
    // However the text got there, the lookups parse it and bind the number; anything else finds nothing.
    const QString before = file.scalar(QStringLiteral("SELECT group_concat(NumFact) FROM Facture"));
    for (QLineEdit* field : {ui().txtNumFact, ui().txtNumCli}) {
        for (const char* junk :
             {"1 OR 1=1", "3; DROP TABLE Facture", "3' OR '1'='1", "", "99999999999999999999"}) {
            field->setText(QString::fromLatin1(junk));
            pressEnter(field);
            EXPECT_TRUE(ui().txtNumFact->text() == "3" || ui().txtNumFact->text() == "12") << junk;
        }
    }
    EXPECT_EQ(file.scalar(QStringLiteral("SELECT group_concat(NumFact) FROM Facture")), before);
    EXPECT_EQ(count("DetFact"), "2");
}

TEST_F(Paste, APastedClientNumberIsSavedAsItsDigits) {
    beginEntry();
    ui().txtNumCli->clear();
    pasteKeys(ui().txtNumCli, QStringLiteral("abc"));
    typeLine(p(), {"", "1", "Vis", "2", QString()});
    boxes.shown.clear();
    save();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Veuillez remplir les champs requise.");
    EXPECT_EQ(count("Facture"), "2");

    pasteKeys(ui().txtNumCli, QStringLiteral("Client n° 7."));
    save();
    EXPECT_EQ(file.scalar(QStringLiteral("SELECT NumCli || '|' || NomCli FROM Facture WHERE NumFact = 13")),
              "7|Alami");
}

TEST_F(Paste, ALongDesignationStopsAtTheMarginAsTypingDoes) {
    beginEntry();
    typeLine(p(), {"", "1"});
    ASSERT_EQ(p()->x(), pointer::kDesignLeft);
    pasteKeys(p(), QString(500, QLatin1Char('D')));
    EXPECT_EQ(p()->text().size(), kDesignMax + 1) << "where typing would stand";
    boxes.shown.clear();
    pressEnter(p());
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Veillez ne pas dépasser les marges !");
    EXPECT_EQ(p()->x(), pointer::kDesignLeft);
    pressEnter(p());
    typeLine(p(), {"2", QString()});
    save();
    EXPECT_EQ(file.scalar(QStringLiteral("SELECT length(Design) FROM DetFact WHERE NumFact = 13")), "53");
}

TEST_F(Paste, LineBreaksAndTabsNeverReachACell) {
    beginEntry();
    const QString pasted[] = {QStringLiteral("R\t1\r\n"), QStringLiteral("2.5\n"),
                              QString::fromUtf8("Vis\ttête\r\nfraisée\u0007"), QStringLiteral("1.2\t"),
                              QStringLiteral("\n3.00")};
    for (const QString& text : pasted) {
        pasteKeys(p(), text);
        EXPECT_FALSE(hasControlCharacter(p()->text())) << p()->text().toStdString();
        pressEnter(p());
    }
    EXPECT_EQ(column(1), QStringList{"R 1 "});
    EXPECT_EQ(column(2), QStringList{"2,5 "}) << "a pasted point is a comma, as a typed one";
    EXPECT_EQ(column(3), QStringList{QString::fromUtf8("Vis tête fraisée")});
    save();
    const QString stored =
        file.scalar(QStringLiteral("SELECT NB || Qt || Design || PU || Mnt FROM DetFact WHERE NumFact = 13"));
    ASSERT_FALSE(stored.isEmpty());
    EXPECT_FALSE(hasControlCharacter(stored)) << stored.toStdString();
}

TEST_F(Paste, AHugePasteInTheHeaderIsCutAndTheDocumentStillSaves) {
    beginEntry();
    QString page;
    for (int i = 0; page.size() < 100000; ++i)
        page += QStringLiteral("Ligne %1 d'une page collée par erreur\n").arg(i);
    QElapsedTimer clock;
    clock.start();
    ui().txtNomCli->clear();
    pasteKeys(ui().txtNomCli, page);
    ui().txtAdrCli->clear();
    pasteKeys(ui().txtAdrCli, page);
    drop(ui().txtAdrCli->viewport(), page);
    EXPECT_LT(clock.elapsed(), 20000) << "a pasted page must not hang the window";
    EXPECT_EQ(ui().txtNomCli->text().size(), 255);
    EXPECT_FALSE(ui().txtNomCli->text().contains(QLatin1Char('\n')));
    EXPECT_EQ(ui().txtAdrCli->toPlainText().size(), 1000);
    EXPECT_TRUE(ui().txtAdrCli->toPlainText().startsWith(
        QStringLiteral("Ligne 0 d'une page collée par erreur\nLigne 1")));

    typeLine(p(), {"", "1", "Vis", "2", QString()});
    save();
    EXPECT_EQ(file.scalar(QStringLiteral("SELECT length(NomCli) || '|' || length(AdrCli) FROM Facture "
                                         "WHERE NumFact = 13")),
              "255|1000");
}

TEST_F(Paste, TheAddressKeepsItsLineBreaksAndTheCursorFollowsThePaste) {
    ui().txtAdrCli->clear();
    pasteKeys(ui().txtAdrCli, QStringLiteral("Rue 1\r\nCasablanca\t20000"));
    EXPECT_EQ(ui().txtAdrCli->toPlainText(), "Rue 1\nCasablanca 20000");
    EXPECT_EQ(ui().txtAdrCli->textCursor().position(), 22);
    typeText(ui().txtAdrCli, QStringLiteral("!"));
    EXPECT_EQ(ui().txtAdrCli->toPlainText(), "Rue 1\nCasablanca 20000!");
    ui().txtAdrCli->clear();
    drop(ui().txtAdrCli->viewport(), QStringLiteral("Rue 2\tbis\r\nRabat"));
    EXPECT_EQ(ui().txtAdrCli->toPlainText(), "Rue 2 bis\nRabat");
}

TEST_F(Paste, TheLineDialogBoxesFollowTheSameRules) {
    Form5* d = openLineDialog(0);
    ASSERT_TRUE(d);
    d->ui.Text2->clear();
    pasteKeys(d->ui.Text2, QStringLiteral("4.5\n"));
    EXPECT_EQ(d->ui.Text2->text(), "4,5 ");
    d->ui.Text3->clear();
    pasteKeys(d->ui.Text3, QStringLiteral("Vis\tà bois ") + QString(500, QLatin1Char('V')));
    EXPECT_EQ(d->ui.Text3->text().size(), kDesignMax);
    EXPECT_TRUE(d->ui.Text3->text().startsWith(QString::fromUtf8("Vis à bois V")));
    QTest::mouseClick(d->ui.Command1, Qt::LeftButton);
    const QString stored =
        file.scalar(QStringLiteral("SELECT Qt || '|' || Design FROM DetFact WHERE NumFact = 3"));
    EXPECT_TRUE(stored.startsWith(QString::fromUtf8("4,5 |Vis à bois V"))) << stored.toStdString();
    EXPECT_EQ(file.scalar(QStringLiteral("SELECT length(Design) FROM DetFact WHERE NumFact = 3")), "53");
}

TEST_F(Paste, ANumberTypedButNotLookedUpDoesNotRedirectALineEdit) {
    // Document 3 is shown; 12 is typed over its number, but Enter is never pressed.
    ASSERT_EQ(ui().txtNumFact->text(), "3");
    ui().txtNumFact->clear();
    typeText(ui().txtNumFact, QStringLiteral("12"));
    Form5* d = openLineDialog(0);
    ASSERT_TRUE(d);
    ASSERT_EQ(d->ui.Text3->text(), "Vis");
    d->ui.Text3->setText(QStringLiteral("Vis longue"));
    QTest::mouseClick(d->ui.Command1, Qt::LeftButton);
    EXPECT_EQ(designs(12), "Douze") << "the other document keeps its lines";
    EXPECT_EQ(designs(3), "Vis longue") << "the edit goes to the document whose line it is";
}

TEST_F(Paste, AKindChosenInTheMenuButNotLaunchedChangesNothingYet) {
    // The credit-note kind is chosen but not launched: the editor still shows invoice 3 and works on it, so
    // its line is rewritten as an invoice line, never as a credit note.
    QTest::mouseClick(ui().Command15, Qt::LeftButton);
    ASSERT_TRUE(m->form4);
    auto* creditNotes = m->form4->findChild<QAbstractButton*>(QStringLiteral("Option5"));
    ASSERT_TRUE(creditNotes);
    creditNotes->click();
    ASSERT_EQ(m->currentKind(), DocKind::Invoice);
    Form5* d = openLineDialog(0);
    ASSERT_TRUE(d);
    d->ui.Text3->setText(QStringLiteral("Vis longue"));
    boxes.shown.clear();
    QTest::mouseClick(d->ui.Command1, Qt::LeftButton);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(count("AVOIR"), "0");
    EXPECT_EQ(designs(3), "Vis longue");
}
