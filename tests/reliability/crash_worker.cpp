// A user who never stops: opens the editor on a database folder and runs the commands that write to the
// file, one after the other, chosen by a seeded generator, until it is killed. Each command is noted in a
// journal before it starts and after it has landed, so that the crash safety test, which kills this
// program at random moments, can tell what the file must hold.
//
//   pylon_crash_worker FOLDER SEED JOURNAL [COMMANDS]
//
// With COMMANDS, it stops by itself after that many commands (exit 0). It prints "READY" once the editor
// stands on the file. A command the program refuses is journaled as FAIL and ends the run with exit 2.
#include "app/startup.h"
#include "app/wiring.h"
#include "browse/navigation.h"
#include "commands/deletion.h"
#include "commands/month_end.h"
#include "documents/line_rewrite.h"
#include "domain/dates.h"
#include "editing/attach.h"
#include "editing/edit_mode.h"
#include "editing/new_document.h"
#include "editing/numbering.h"
#include "editing/saving.h"
#include "editor/form1.h"
#include "editor/session.h"
#include "editor/show_document.h"
#include "lines_summary.h"
#include "module/month_end_store.h"
#include "support/form1_access.h"
#include "widgets/fonts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <unistd.h>

namespace pylon {
namespace {

// splitmix64: the same sequence on every platform, unlike the standard distributions.
struct Rng {
    quint64 state;
    quint64 next() {
        quint64 z = (state += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    qint64 below(qint64 n) { return n <= 0 ? 0 : qint64(next() % quint64(n)); }
    qint64 between(qint64 lo, qint64 hi) { return lo + below(hi - lo + 1); }
};

// A cell as hashed; NULL told apart from any text a line can hold.
QString cellText(const QVariant& v) {
    return v.isNull() ? QStringLiteral("\x01") : v.toString();
}

QString summary(const std::vector<QStringList>& lines) {
    return linesSummary(lines);
}

// On disk before the caller goes on: a line the test reads must describe what was really done.
void note(QFile& journal, const QString& line) {
    journal.write(line.toUtf8() + '\n');
    journal.flush();
    ::fsync(journal.handle());
}

// Answers every box the commands open: message boxes with OK or Yes, input boxes with the queued texts.
class Answerer : public QObject {
  public:
    Answerer() {
        connect(&timer_, &QTimer::timeout, this, &Answerer::poll);
        timer_.start(1);
    }
    QStringList inputs;
    QStringList messages; // every message shown since the last clear()

  private:
    void poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal); box && box->isVisible()) {
            messages << box->text();
            for (QAbstractButton* b : box->buttons())
                if (box->buttonRole(b) == QMessageBox::AcceptRole ||
                    box->buttonRole(b) == QMessageBox::YesRole)
                    return b->click();
            box->reject();
        } else if (auto* input = qobject_cast<QInputDialog*>(modal); input && input->isVisible()) {
            auto* buttons = input->findChild<QDialogButtonBox*>();
            if (inputs.isEmpty() || !buttons) return input->reject();
            input->findChild<QLineEdit*>()->setText(inputs.takeFirst());
            buttons->button(QDialogButtonBox::Ok)->click();
        }
    }
    QTimer timer_;
};

struct Doc {
    qint64 number = 0;
    QString kind; // as stored in TypeFact
    qint64 client = 0;
    QString date, name, address;
};

DocKind kindOf(const QString& typeFact) {
    for (DocKind k : {DocKind::Invoice, DocKind::Quote, DocKind::Order, DocKind::Delivery, DocKind::MonthEnd})
        if (kindInfo(k).stored == typeFact) return k;
    return DocKind::Invoice;
}

QString token(const QString& typeFact) {
    return QString(typeFact).replace(QLatin1Char(' '), QLatin1Char('_'));
}

class Worker {
  public:
    Worker(Session& m, QFile& journal, quint64 seed)
        : m(m), ui(Form1TestAccess::ui(*m.form1)), journal(journal), rng{seed} {}

    void runOne() {
        // Out of 100: more saves and rewrites than anything else, so that the file grows as it is used.
        const std::pair<int, void (Worker::*)()> commands[] = {
            {30, &Worker::saveNew}, {12, &Worker::creditNote}, {8, &Worker::monthEnd},
            {30, &Worker::rewrite}, {12, &Worker::remove},     {8, &Worker::removeCreditNote}};
        qint64 roll = rng.below(100);
        for (const auto& [weight, command] : commands)
            if ((roll -= weight) < 0) {
                (this->*command)();
                break;
            }
        QCoreApplication::processEvents();
    }

  private:
    qint64 count(const QString& sql) { return m.db.scalar(sql).toLongLong(); }
    qint64 rowsOf(const QString& table, qint64 number) {
        return count(QStringLiteral("SELECT count(*) FROM %1 WHERE NumFact = %2").arg(table).arg(number));
    }

    std::optional<Doc> pick(const QString& where) {
        const qint64 n = count(QStringLiteral("SELECT count(*) FROM Facture f WHERE ") + where);
        if (n == 0) return std::nullopt;
        auto st =
            m.db.prepare(QStringLiteral("SELECT NumFact, TypeFact, NumCli, DateFact, NomCli, AdrCli FROM "
                                        "Facture f WHERE %1 ORDER BY NumFact LIMIT 1 OFFSET ?")
                             .arg(where));
        if (!st || !st->bind(0, rng.below(n)) || !st->step()) return std::nullopt;
        return Doc{st->value(0).toLongLong(), st->value(1).toString(), st->value(2).toLongLong(),
                   st->value(3).toString(),   st->value(4).toString(), st->value(5).toString()};
    }

    std::vector<QStringList> stored(const QString& table, qint64 number) {
        std::vector<QStringList> lines;
        auto st = m.db.prepare(
            QStringLiteral("SELECT NB, Qt, Design, PU, Mnt FROM %1 WHERE NumFact = ? ORDER BY rowid")
                .arg(table));
        if (!st || !st->bind(0, number)) fail(QStringLiteral("cannot read the lines of %1").arg(number));
        while (st->step()) {
            QStringList line;
            for (int c = 0; c < 5; ++c)
                line << cellText(st->value(c));
            lines.push_back(line);
        }
        return lines;
    }

    // 1 to 32 lines as a user types them; empty cells, accents and separators included.
    std::vector<QStringList> newLines() {
        static const QStringList names =
            QString::fromUtf8("Ciment gris 35 kg|Câble électrique 2,5 mm²|Vis à bois|Peinture « satinée »|"
                              "Clé de 12'|Pot; 5 L|Tuyau PVC \"32\"|Main-d'œuvre|Équerre d'angle|")
                .split(QLatin1Char('|'));
        std::vector<QStringList> lines;
        const qint64 n = rng.between(1, 32);
        for (qint64 i = 0; i < n; ++i) {
            const qint64 qty = rng.between(1, 250);
            const qint64 cents = rng.between(5, 999999);
            QString design = names[rng.below(names.size())];
            if (rng.below(20) == 0) design = design.repeated(12);
            lines.push_back(
                {rng.below(4) == 0 ? QString() : QString::number(i + 1), QString::number(qty), design,
                 QStringLiteral("%1,%2").arg(cents / 100).arg(cents % 100, 2, 10, QLatin1Char('0')),
                 QStringLiteral("%1,%2")
                     .arg(qty * cents / 100)
                     .arg(qty * cents % 100, 2, 10, QLatin1Char('0'))});
        }
        return lines;
    }

    // What the file will hold for those lines: an empty cell is stored as a single space.
    static std::vector<QStringList> asStored(std::vector<QStringList> lines) {
        for (QStringList& line : lines)
            for (QString& cell : line)
                if (cell.isEmpty()) cell = QStringLiteral(" ");
        return lines;
    }

    void fill(const std::vector<QStringList>& lines) {
        for (const QStringList& line : lines)
            appendLine(m, line);
    }

    void useKind(DocKind kind) {
        m.kind = kind;
        m.rsDoc = RecordSet::open(m.db, kindInfo(kind).viewSql);
        ShowCurrentDocument(m);
    }

    // Puts the document on screen as a user would, by typing its number and Enter.
    void show(const Doc& doc) {
        ui.txtNumFact->setText(QString::number(doc.number));
        int enter = 13;
        txtNumFact_KeyPress(m, enter);
        if (ui.txtNumFact->text() != QString::number(doc.number) ||
            ui.txtNumCli->text().toLongLong() != doc.client)
            fail(QStringLiteral("document %1 cannot be shown").arg(doc.number));
    }

    void begin(const QString& what) {
        current_ = what;
        answers.messages.clear();
        note(journal, QStringLiteral("BEGIN ") + what);
    }
    void done(bool landed) {
        if (!landed)
            fail(QStringLiteral("the file does not show it; messages: ") + answers.messages.join(" | "));
        note(journal, QStringLiteral("DONE ") + current_);
    }
    [[noreturn]] void fail(const QString& why) {
        note(journal, QStringLiteral("FAIL ") + current_ + QStringLiteral(" -- ") + why);
        std::fprintf(stderr, "FAIL %s -- %s\n", qPrintable(current_), qPrintable(why));
        ::_exit(2);
    }

    QString linesOf(const QString& table, qint64 number) { return summary(stored(table, number)); }

    // A new document of one of the four kinds typed in the editor, for a known or a new party.
    void saveNew() {
        const DocKind kinds[] = {DocKind::Invoice, DocKind::Quote, DocKind::Order, DocKind::Delivery};
        const DocKind kind = kinds[rng.below(4)];
        const bool supplier = kind == DocKind::Order;
        useKind(kind);
        Command5_Click(m);
        const qint64 number = ui.txtNumFact->text().toLongLong();
        if (rowsOf(QStringLiteral("Facture"), number) > 0)
            return Command10_Click(m); // a number already taken is refused by design, not by accident
        auto party =
            pick(QStringLiteral("EXISTS (SELECT 1 FROM CliEC c WHERE c.NumCli = f.NumCli AND c.Frs = %1)")
                     .arg(supplier ? 1 : 0));
        if (!party || rng.below(10) == 0) {
            const qint64 client = count(QStringLiteral("SELECT coalesce(max(NumCli), 0) + 1 FROM CliEC"));
            party = Doc{0,
                        {},
                        client,
                        {},
                        QStringLiteral("Nouveau %1").arg(client),
                        QStringLiteral("%1 rue de l'Essai\nCasablanca").arg(client)};
        }
        ui.txtNumCli->setText(QString::number(party->client));
        ui.txtNomCli->setText(party->name.isEmpty() ? QStringLiteral("?") : party->name);
        ui.txtAdrCli->setPlainText(party->address.isEmpty() ? QStringLiteral("?") : party->address);
        ui.Check1->setChecked(
            count(QStringLiteral("SELECT coalesce(max(ClientC), 0) FROM CliEC WHERE NumCli = %1")
                      .arg(party->client)) != 0);
        const auto lines = newLines();
        fill(lines);
        begin(QStringLiteral("save %1 kind=%2 client=%3 lines=%4")
                  .arg(number)
                  .arg(token(kindInfo(kind).stored))
                  .arg(party->client)
                  .arg(summary(asStored(lines))));
        Command6_Click(m);
        done(linesOf(QStringLiteral("DetFact"), number) == summary(asStored(lines)));
    }

    // Lines of a credit note added to a stored document of any kind, as the attach list allows.
    void creditNote() {
        const auto doc = pick(QStringLiteral("1"));
        if (!doc) return;
        useKind(DocKind::CreditNote);
        AttachCreditNote(m, QString::number(doc->number));
        if (ui.txtNumFact->text() != QString::number(doc->number)) fail(QStringLiteral("attach did nothing"));
        auto after = stored(QStringLiteral("AVOIR"), doc->number);
        const QString before = summary(after);
        const auto lines = newLines();
        fill(lines);
        for (const QStringList& line : asStored(lines))
            after.push_back(line);
        begin(QStringLiteral("credit %1 before=%2 after=%3").arg(doc->number).arg(before, summary(after)));
        Command6_Click(m);
        done(linesOf(QStringLiteral("AVOIR"), doc->number) == summary(after));
    }

    // The month-end invoice of an on-account client, asked from one of the client's documents of that month.
    void monthEnd() {
        const auto source =
            pick(QStringLiteral("f.TypeFact IN ('Facture', 'BL') AND EXISTS (SELECT 1 FROM CliEC c "
                                "WHERE c.NumCli = f.NumCli AND c.ClientC = 1)"));
        if (!source) return;
        useKind(kindOf(source->kind));
        show(*source);
        const qint64 number = nextNumber(m, DocKind::Invoice);
        const QDate date = QDate::fromString(source->date, Qt::ISODate);
        if (rowsOf(QStringLiteral("Facture"), number) > 0 || !date.isValid()) return;
        const auto gathered = month_end::gatherLines(m.db, int(source->client), date.year(), date.month());
        if (!gathered) fail(QStringLiteral("the month's lines cannot be read"));
        // Each month-end copies the month's lines again: past a few hundred the file would grow so fast
        // that long runs slow down to a crawl.
        if (gathered->size() > 300) return;
        std::vector<QStringList> lines;
        for (const auto& line : *gathered) {
            QStringList cells;
            for (const QVariant& v : line)
                cells << cellText(v);
            lines.push_back(cells);
        }
        // With nothing gathered the document still gets one line, holding only its number.
        if (lines.empty()) lines.push_back(QStringList(5, cellText({})));
        answers.inputs = {
            QString::number(number),
            QStringLiteral("%1/%2/%3").arg(date.daysInMonth()).arg(date.month()).arg(date.year()),
            QString::number(source->client)};
        begin(QStringLiteral("monthend %1 kind=Facture_M client=%2 lines=%3")
                  .arg(number)
                  .arg(source->client)
                  .arg(summary(lines)));
        Command16_Click(m);
        done(linesOf(QStringLiteral("DetFact"), number) == summary(lines));
    }

    // All the lines of a stored document replaced at once, as the line edit dialog does.
    void rewrite() {
        const auto doc = pick(QStringLiteral("1"));
        if (!doc) return;
        const bool credit = rng.below(3) == 0 && !stored(QStringLiteral("AVOIR"), doc->number).empty();
        const QString table = credit ? QStringLiteral("AVOIR") : QStringLiteral("DetFact");
        const QString old = linesOf(table, doc->number);
        const auto lines = newLines();
        begin(QStringLiteral("rewrite %1 table=%2 old=%3 new=%4")
                  .arg(doc->number)
                  .arg(table, old, summary(lines)));
        const WriteResult written = rewriteLines(m.db, table, doc->number, lines);
        if (!written.isDone()) fail(written.message);
        m.requeryAfterWrite();
        done(linesOf(table, doc->number) == summary(lines));
    }

    // A document deleted from its own kind, after the question is answered Yes.
    void remove() {
        const auto doc = pick(QStringLiteral("1"));
        if (!doc) return;
        useKind(kindOf(doc->kind));
        show(*doc);
        begin(QStringLiteral("delete %1 kind=%2").arg(doc->number).arg(token(doc->kind)));
        Command8_Click(m);
        done(rowsOf(QStringLiteral("Facture"), doc->number) + rowsOf(QStringLiteral("DetFact"), doc->number) +
                 rowsOf(QStringLiteral("AVOIR"), doc->number) ==
             0);
    }

    // A credit note deleted from the credit-note kind: its document stays.
    void removeCreditNote() {
        const auto doc = pick(
            QStringLiteral("f.Avoir = 1 AND EXISTS (SELECT 1 FROM AVOIR a WHERE a.NumFact = f.NumFact)"));
        if (!doc) return;
        useKind(DocKind::CreditNote);
        show(*doc);
        begin(QStringLiteral("uncredit %1 before=%2")
                  .arg(doc->number)
                  .arg(linesOf(QStringLiteral("AVOIR"), doc->number)));
        Command8_Click(m);
        done(rowsOf(QStringLiteral("AVOIR"), doc->number) == 0 &&
             count(QStringLiteral("SELECT Avoir FROM Facture WHERE NumFact = %1").arg(doc->number)) == 0);
    }

    Answerer answers;
    Session& m;
    Ui::Form1& ui;
    QFile& journal;
    Rng rng;
    QString current_;
};

} // namespace
} // namespace pylon

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: pylon_crash_worker FOLDER SEED JOURNAL [COMMANDS]\n");
        return 3;
    }
    pylon::setUpFonts();
    pylon::Session m;
    m.appPath = args[1];
    pylon::Form1 editor(m);
    pylon::wireEditor(m);
    editor.show();
    pylon::Form1_Load(m);
    QFile journal(args[3]);
    if (!m.db.isOpen() || !journal.open(QIODevice::WriteOnly | QIODevice::Append)) {
        std::fprintf(stderr, "cannot open the database in %s or the journal\n", qPrintable(args[1]));
        return 3;
    }
    pylon::Worker worker(m, journal, args[2].toULongLong());
    std::printf("READY\n");
    std::fflush(stdout);
    const qint64 limit = args.size() > 4 ? args[4].toLongLong() : -1;
    for (qint64 i = 0; limit < 0 || i < limit; ++i)
        worker.runOne();
    editor.close();
    return 0;
}
