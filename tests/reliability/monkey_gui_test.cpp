// A monkey on a demo business: random clicks on every window's buttons, random typing, pasting and
// keys, picks in the lists, the main menu, and random answers to every message and input box, for a
// bounded number of steps from a fixed seed. It must end without a crash and with a sound file.
//
// PYLON_MONKEY_STEPS sets the number of steps, PYLON_MONKEY_SEED the seed. Each step is written to
// monkey.log in the test's folder as it starts (the folder stays after a crash); after a failure the log
// is copied to pylon-monkey-SEED.log in the system's temporary folder, or wherever PYLON_MONKEY_LOG says.
// The same seed and steps replay the same run.
#include "commands/office.h"
#include "editing/line_entry.h"
#include "support/gui_fixture.h"
#include "support/typing.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <QTextStream>
#include <iostream>

using namespace pylon;
using namespace pylon::test;

namespace {

constexpr int kDefaultSteps = 5000;
constexpr quint64 kDefaultSeed = 20040131;

// splitmix64: the same numbers from a seed on every platform and library.
class Rng {
  public:
    explicit Rng(quint64 seed) : s_(seed) {}
    quint64 next() {
        quint64 z = (s_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int n) { return n <= 0 ? 0 : int(next() % quint64(n)); }
    bool chance(int percent) { return below(100) < percent; }
    template <class T> T pick(const QList<T>& items) { return items[below(int(items.size()))]; }

  private:
    quint64 s_;
};

QString randomText(Rng& r, int maxLength) {
    static const QString alphabet = QString::fromUtf8("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                                      "0123456789    .,;:-_/'\"()éèàçôû€%&*+=?!@#<>");
    QString out;
    for (int n = 1 + r.below(maxLength); n > 0; --n)
        out += alphabet[r.below(int(alphabet.size()))];
    return out;
}

// What people paste by mistake: numbers with words, line breaks and tabs, stray control characters,
// whole pages.
QString junk(Rng& r) {
    static const QStringList pieces = {QStringLiteral("\n"),      QStringLiteral("\r\n"),
                                       QStringLiteral("\t"),      QString(QChar(7)),
                                       QStringLiteral("12"),      QStringLiteral("3.5"),
                                       QStringLiteral(" OR 1=1"), QStringLiteral("'; DROP TABLE Facture; --"),
                                       QString::fromUtf8("😀"),    QString(QChar(0x200B))};
    QString out;
    for (int n = 1 + r.below(6); n > 0; --n)
        out += r.chance(50) ? r.pick(pieces) : randomText(r, 12);
    if (r.chance(5)) out = out.repeated(1 + r.below(r.chance(20) ? 2000 : 100));
    return out;
}

QString shortText(const QString& s) {
    const QString t = s.left(60)
                          .replace(u'\n', QLatin1String("\\n"))
                          .replace(u'\r', QLatin1String("\\r"))
                          .replace(u'\t', QLatin1String("\\t"));
    return QLatin1Char('"') + t +
           (s.size() > 60 ? QStringLiteral("\"…(%1)").arg(s.size()) : QStringLiteral("\""));
}

QString nameOf(const QWidget* w) {
    return w->window()->objectName() + QLatin1Char('.') + w->objectName();
}

// A random answer to an input box: cancelled, the proposal, a number, text, a date or nothing.
QString randomAnswer(Rng& rng, QTextStream& log, const ShownInput& box) {
    QString text = box.proposed;
    const int choice = rng.below(100);
    if (choice < 20) {
        log << "  input " << shortText(box.prompt) << " -> cancel" << Qt::endl;
        return InputAnswerer::kCancel;
    }
    if (choice < 35)
        text = QString::number(rng.below(rng.chance(50) ? 40 : 100000));
    else if (choice < 45)
        text = randomText(rng, 10);
    else if (choice < 55)
        text = QStringLiteral("%1/%2/%3")
                   .arg(1 + rng.below(31))
                   .arg(1 + rng.below(12))
                   .arg(2000 + rng.below(30));
    else if (choice < 60)
        text.clear();
    log << "  input " << shortText(box.prompt) << " (proposed " << shortText(box.proposed) << ") -> "
        << shortText(text) << Qt::endl;
    return text;
}

// Closes, with a failure, any modal window that nobody answers (the fixture answers the message and
// input boxes).
class Unanswered : public ModalPoller {
  public:
    explicit Unanswered(QTextStream& log) : ModalPoller(3), log_(log) {}
    QStringList stuck;

  private:
    void answer(QWidget* modal) override {
        if (modal != waiting_) {
            waiting_ = modal;
            since_.start();
        } else if (modal && since_.elapsed() > 3000) {
            stuck << modal->metaObject()->className() + QStringLiteral(" ") + modal->windowTitle();
            log_ << "  unanswered modal window closed: " << stuck.last() << Qt::endl;
            modal->close();
        }
    }
    QTextStream& log_;
    QWidget* waiting_ = nullptr;
    QElapsedTimer since_;
};

class Monkey : public EditorTest {
  protected:
    void SetUp() override {
        bool ok = false;
        const int steps = qEnvironmentVariableIntValue("PYLON_MONKEY_STEPS", &ok);
        steps_ = ok && steps >= 0 ? steps : kDefaultSteps;
        const qulonglong seed = qEnvironmentVariable("PYLON_MONKEY_SEED").toULongLong(&ok);
        seed_ = ok ? seed : kDefaultSeed;
        rng_ = Rng(seed_);
        file = TempDb(200, int(seed_ % 100000));
        logFile_.setFileName(QDir(file.dir()).filePath(QStringLiteral("monkey.log")));
        ASSERT_TRUE(logFile_.open(QIODevice::WriteOnly | QIODevice::Text));
        log_.setDevice(&logFile_);
        log_ << "seed " << seed_ << ", " << steps_ << " steps" << Qt::endl;
        std::cout << "monkey: seed " << seed_ << ", log " << logFile_.fileName().toStdString() << std::endl;
        // Nothing leaves the test: the office documents are only noted.
        setDocumentOpener([](const QUrl&) { return true; });
        numbers_ =
            file.scalar(QStringLiteral("SELECT group_concat(NumFact) FROM Facture")).split(QLatin1Char(','));
        onAccount_ = file.scalar(QStringLiteral("SELECT group_concat(NumCli) FROM CliEC WHERE ClientC"))
                         .split(QLatin1Char(','));
        restart();
    }
    void TearDown() override {
        setDocumentOpener({});
        EditorTest::TearDown();
        // After a failure, or when asked for, the log outlives the test's folder.
        QString kept = qEnvironmentVariable("PYLON_MONKEY_LOG");
        if (kept.isEmpty() && HasFailure())
            kept = QDir(QDir::tempPath()).filePath(QStringLiteral("pylon-monkey-%1.log").arg(seed_));
        if (!kept.isEmpty()) {
            QFile::remove(kept);
            logFile_.copy(kept);
            std::cerr << "monkey: the steps are in " << kept.toStdString() << std::endl;
        }
    }
    void restart() {
        editor.reset();
        m.reset();
        start();
    }

    QList<QWidget*> windows() const {
        QList<QWidget*> out{editor.get()};
        for (const auto* w : {&m->form2, &m->form3, &m->form4, &m->form5})
            if (*w && (*w)->isVisible()) out << w->get();
        return out;
    }
    static bool usable(const QWidget* w) { return w->isVisible() && w->isEnabled(); }
    QList<QAbstractButton*> buttons() const {
        QList<QAbstractButton*> out;
        for (QWidget* window : windows())
            for (QAbstractButton* b : window->findChildren<QAbstractButton*>())
                if (usable(b) && b != ui().Command14) out << b;
        return out;
    }
    QList<QWidget*> fields() const {
        QList<QWidget*> out;
        for (QWidget* window : windows()) {
            for (QLineEdit* e : window->findChildren<QLineEdit*>())
                if (usable(e)) out << e;
            for (QPlainTextEdit* e : window->findChildren<QPlainTextEdit*>())
                if (usable(e)) out << e;
        }
        return out;
    }
    // The field with the keyboard focus more often than not, as a user types where the cursor is.
    QWidget* field() {
        const QList<QWidget*> all = fields();
        QWidget* focus = QApplication::focusWidget();
        if (focus && all.contains(focus) && rng_.chance(60)) return focus;
        return all.isEmpty() ? nullptr : rng_.pick(all);
    }

    void click(QAbstractButton* b) {
        log_ << "click " << nameOf(b) << " " << shortText(b->text()) << Qt::endl;
        const bool box = qobject_cast<QRadioButton*>(b) || qobject_cast<QCheckBox*>(b);
        QTest::mouseClick(b, Qt::LeftButton, {}, box ? QPoint(6, b->height() / 2) : b->rect().center());
    }
    // The editor's line columns and the list window's columns alike.
    void doubleClickRow(QListView* list) {
        const int count = list->model()->rowCount();
        if (count == 0) {
            log_ << "no row in " << nameOf(list) << Qt::endl;
            return;
        }
        const int row = rng_.below(count);
        log_ << "double-click " << nameOf(list) << " row " << row << Qt::endl;
        const QModelIndex index = list->model()->index(row, 0);
        list->scrollTo(index);
        const QPoint at = list->visualRect(index).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }
    void type(QWidget* w, const QString& text) {
        log_ << "type " << nameOf(w) << " " << shortText(text) << Qt::endl;
        typeText(w, text);
    }
    void key(QWidget* w) {
        const Qt::Key keys[] = {Qt::Key_Return, Qt::Key_Return, Qt::Key_Backspace, Qt::Key_Tab};
        const Qt::Key k = keys[rng_.below(4)];
        log_ << "key " << nameOf(w) << " " << QKeySequence(k).toString() << Qt::endl;
        QTest::keyClick(w, k);
    }
    void paste(QWidget* w) {
        const QString text = junk(rng_);
        log_ << "paste " << nameOf(w) << " " << shortText(text) << Qt::endl;
        QGuiApplication::clipboard()->setText(text);
        QTest::keySequence(w, QKeySequence::Paste);
    }
    // A whole document typed as a user would, so that saving gets its chance among the random steps.
    void plausibleEntry() {
        log_ << "entry" << Qt::endl;
        click(ui().Command5);
        if (!ui().txtPointeur->isVisible()) return;
        ui().txtNumCli->clear();
        type(ui().txtNumCli, QString::number(rng_.chance(70) ? 1 + rng_.below(31) : 100 + rng_.below(50)));
        ui().txtNomCli->clear();
        type(ui().txtNomCli, randomText(rng_, 20));
        ui().txtAdrCli->clear();
        type(ui().txtAdrCli, randomText(rng_, 20));
        for (int n = 1 + rng_.below(3); n > 0 && ui().txtPointeur->isVisible(); --n) {
            const QStringList cells = {
                QString::number(n), QString::number(1 + rng_.below(9)), randomText(rng_, 30),
                QStringLiteral("%1,%2").arg(rng_.below(500)).arg(rng_.below(100)), QString()};
            log_ << "  line " << cells.join(QLatin1Char('|')) << Qt::endl;
            typeLine(ui().txtPointeur, cells);
        }
        if (rng_.chance(30) && !ui().Check1->isChecked()) click(ui().Check1);
        click(ui().Command6);
        log_ << (ui().Command10->isEnabled() ? "  still entering" : "  back to the stored documents")
             << Qt::endl;
    }
    // A number typed into a lookup field and Enter: a document, or a client on account, whose month-end
    // command then gets its chance.
    void lookup() {
        const bool client = rng_.chance(50);
        QLineEdit* field = client ? ui().txtNumCli : ui().txtNumFact;
        const QStringList known = client ? onAccount_ : numbers_;
        field->clear();
        type(field,
             rng_.chance(80) && !known.isEmpty() ? rng_.pick(known) : QString::number(rng_.below(30000)));
        QTest::keyClick(field, Qt::Key_Return);
        if (ui().Command16->isEnabled() && rng_.chance(50)) click(ui().Command16);
    }
    void menu() {
        click(ui().Command15);
        QWidget* menu = m->form4.get();
        if (!menu || !menu->isVisible()) return;
        const QList<QRadioButton*> options = menu->findChildren<QRadioButton*>();
        if (!options.isEmpty()) click(rng_.pick(options));
        const char* last = rng_.chance(80) ? "Command1" : "Command2";
        if (auto* b = menu->findChild<QAbstractButton*>(QLatin1String(last)); b && usable(b)) click(b);
    }
    void listWindow() {
        QWidget* list = m->form2.get();
        if (!list || !list->isVisible() || rng_.chance(20))
            return click(rng_.chance(50) ? ui().Command7 : ui().Command9);
        QList<QListView*> columns;
        for (QListView* c : list->findChildren<QListView*>())
            if (usable(c)) columns << c;
        if (!columns.isEmpty()) doubleClickRow(rng_.pick(columns));
    }

    void step() {
        const int action = rng_.below(100);
        QWidget* target = action >= 30 && action < 64 ? field() : nullptr;
        if (action >= 30 && action < 64 && !target) {
            log_ << "no field to type in" << Qt::endl;
        } else if (action < 30) {
            const QList<QAbstractButton*> all = buttons();
            if (!all.isEmpty()) click(rng_.pick(all));
        } else if (action < 48) {
            type(target, randomText(rng_, 12));
        } else if (action < 58) {
            key(target);
        } else if (action < 64) {
            paste(target);
        } else if (action < 74) {
            QListWidget* lists[] = {ui().List1, ui().List2, ui().List3, ui().List4, ui().List5};
            doubleClickRow(lists[rng_.below(5)]);
        } else if (action < 84) {
            listWindow();
        } else if (action < 90) {
            menu();
        } else if (action < 94) {
            plausibleEntry();
        } else if (action < 98) {
            lookup();
        } else if (m->form3 && m->form3->isVisible()) {
            log_ << "click the author box" << Qt::endl;
            QTest::mouseClick(m->form3.get(), Qt::LeftButton, {}, QPoint(5, 5));
        } else {
            const int ms = rng_.below(30);
            log_ << "wait " << ms << " ms" << Qt::endl;
            QTest::qWait(ms);
        }
    }

    // Every cell, name and address the file holds could have been typed into its field.
    QString untypable() const {
        QString controls;
        for (char16_t c = 1; c < 32; ++c)
            if (c != u'\n') controls += QChar(c);
        const QString bad = QStringLiteral(" GLOB '*[") + controls + QStringLiteral("]*'");
        const QString cells =
            QStringLiteral(" + (SELECT count(*) FROM %1 WHERE length(Design) > %2 OR "
                           "instr(NB||Qt||Design||PU||Mnt, char(10)) OR NB||Qt||Design||PU||Mnt");
        return file.scalar(
            QStringLiteral("SELECT (SELECT count(*) FROM Facture WHERE length(NomCli) > 255 OR "
                           "length(AdrCli) > 1000 OR instr(NomCli, char(10)) OR NomCli%1 OR AdrCli%1)")
                .arg(bad) +
            cells.arg(QStringLiteral("DetFact")).arg(kDesignMax) + bad + QLatin1Char(')') +
            cells.arg(QStringLiteral("AVOIR")).arg(kDesignMax) + bad + QLatin1Char(')'));
    }

    QStringList numbers_, onAccount_; // of the demo file, for lookups that find something
    int steps_ = kDefaultSteps;
    quint64 seed_ = kDefaultSeed;
    QFile logFile_;
    QTextStream log_;
    Rng rng_{kDefaultSeed};
};

} // namespace

TEST_F(Monkey, RandomUseEndsWithoutACrashAndWithASoundFile) {
    Rng answers(seed_ ^ 0x5A5A5A5Aull);
    inputs.choose = [&](const ShownInput& box) { return randomAnswer(answers, log_, box); };
    Unanswered unanswered(log_);
    const QStringList buttonTexts = {QStringLiteral("&Oui"), QStringLiteral("&Non"), QStringLiteral("OK")};
    QElapsedTimer clock;
    clock.start();
    int restarts = 0;
    for (int n = 1; n <= steps_; ++n) {
        // The message boxes of this step get these answers, in the order they come up.
        boxes.answers.clear();
        for (int i = 0; i < 6; ++i)
            boxes.answers << buttonTexts[answers.below(3)];
        const QStringList queued = boxes.answers;
        const size_t shownBefore = boxes.shown.size();
        log_ << n << ": ";
        step();
        QCoreApplication::processEvents();
        for (size_t i = shownBefore; i < boxes.shown.size(); ++i) {
            const qsizetype used = qsizetype(i - shownBefore);
            log_ << "  box " << shortText(boxes.shown[i].text) << " -> "
                 << (used < queued.size() ? queued[used] : QStringLiteral("OK")) << Qt::endl;
        }
        ASSERT_TRUE(unanswered.stuck.isEmpty())
            << "step " << n << ": " << unanswered.stuck.join(", ").toStdString();
        if (!editor->isVisible()) {
            // Only "&Quitter" and the close box end the program, and the monkey uses neither.
            log_ << "  the editor closed: started again" << Qt::endl;
            ++restarts;
            restart();
        }
    }
    log_ << "done in " << clock.elapsed() << " ms" << Qt::endl;
    EXPECT_EQ(restarts, 0) << "the editor closed by itself";
    EXPECT_EQ(untypable(), "0") << "a cell, name or address that no field lets one type";
    EXPECT_GT(file.scalar(QStringLiteral("SELECT count(*) FROM Facture")).toInt(), 0);
    std::cout << "monkey: " << steps_ << " steps" << std::endl;
}
