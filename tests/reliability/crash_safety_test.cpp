// The machine dying in the middle of a save must cost at most that save, never a half-written document.
// A worker program runs real commands on a demo file and is killed with SIGKILL at a random moment, again
// and again on the same file so that any damage would pile up. After each kill the file must be sound, hold
// every command the worker's journal calls done, and hold the one cut short either whole or not at all.
//
// PYLON_KILLS sets the number of kills, PYLON_CRASH_SEED the seed the rounds are drawn from.
#include "lines_summary.h"
#include "store/database.h"
#include "store/schema.h"
#include "support/temp_db.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>
#include <signal.h>

using namespace pylon;

namespace {

// splitmix64, as in the worker.
struct Rng {
    quint64 state;
    quint64 next() {
        quint64 z = (state += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    qint64 below(qint64 n) { return qint64(next() % quint64(n)); }
};

const QString kNullCell = QStringLiteral("\x01");

QString summary(const std::vector<QStringList>& lines) {
    return linesSummary(lines);
}

const QString kNoLines = summary({});

// What the file holds under one document number.
struct DocState {
    bool exists = false; // a header
    QString kind;        // TypeFact, spaces as '_'
    qint64 client = 0;
    bool creditFlag = false;
    QString lines = kNoLines;
    QString creditLines = kNoLines;
    bool operator==(const DocState&) const = default;
    std::string describe() const {
        if (*this == DocState{}) return "nothing";
        const QString header =
            exists ? QStringLiteral("%1 of client %2").arg(kind).arg(client) : QStringLiteral("no header");
        return QStringLiteral("%1, lines %2, credit-note lines %3%4")
            .arg(header, lines, creditLines, creditFlag ? QStringLiteral(" (flagged)") : QString())
            .toStdString();
    }
};
using Model = std::map<qint64, DocState>;

Model readFile(Database& db) {
    Model out;
    auto headers =
        db.prepare(QStringLiteral("SELECT NumFact, TypeFact, NumCli, coalesce(Avoir, 0) FROM Facture"));
    while (headers && headers->step()) {
        DocState& d = out[headers->value(0).toLongLong()];
        d.exists = true;
        d.kind = headers->value(1).toString().replace(QLatin1Char(' '), QLatin1Char('_'));
        d.client = headers->value(2).toLongLong();
        d.creditFlag = headers->value(3).toLongLong() != 0;
    }
    for (const char* table : {"DetFact", "AVOIR"}) {
        std::map<qint64, std::vector<QStringList>> lines;
        auto st = db.prepare(
            QStringLiteral("SELECT NumFact, NB, Qt, Design, PU, Mnt FROM %1 ORDER BY NumFact, rowid")
                .arg(QLatin1String(table)));
        while (st && st->step()) {
            QStringList cells;
            for (int c = 1; c <= 5; ++c)
                cells << (st->value(c).isNull() ? kNullCell : st->value(c).toString());
            lines[st->value(0).toLongLong()].push_back(cells);
        }
        for (const auto& [number, rows] : lines)
            (qstrcmp(table, "AVOIR") == 0 ? out[number].creditLines : out[number].lines) = summary(rows);
    }
    return out;
}

struct Command {
    QString text; // as journaled, after BEGIN
    QString what;
    qint64 number = 0;
    std::map<QString, QString> details;
    bool done = false;
};

struct Journal {
    std::vector<Command> commands;
    QString problem; // a FAIL line, or lines out of order
};

Journal readJournal(const QString& path) {
    Journal j;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return j; // killed before writing anything
    QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    lines.removeLast(); // unfinished when the kill came, or empty after the last newline
    for (const QString& line : lines) {
        const QString tag = line.section(QLatin1Char(' '), 0, 0);
        const QString rest = line.section(QLatin1Char(' '), 1);
        const bool open = !j.commands.empty() && !j.commands.back().done;
        if (tag == u"BEGIN" && !open) {
            Command c;
            c.text = rest;
            c.what = rest.section(QLatin1Char(' '), 0, 0);
            c.number = rest.section(QLatin1Char(' '), 1, 1).toLongLong();
            for (const QString& pair : rest.split(QLatin1Char(' ')).mid(2))
                c.details[pair.section(QLatin1Char('='), 0, 0)] = pair.section(QLatin1Char('='), 1);
            j.commands.push_back(c);
        } else if (tag == u"DONE" && open && j.commands.back().text == rest) {
            j.commands.back().done = true;
        } else {
            j.problem = QStringLiteral("journal line out of place: ") + line;
            return j;
        }
    }
    return j;
}

// The document after the command; an error when the journal's view of it before disagrees with ours.
QString apply(const Command& c, DocState& d) {
    auto x = c.details;
    if (c.what == u"save" || c.what == u"monthend") {
        if (d.exists) return QStringLiteral("a new document on a number in use");
        d = DocState{true, x["kind"], x["client"].toLongLong(), false, x["lines"], kNoLines};
    } else if (c.what == u"credit") {
        if (!d.exists || d.creditLines != x["before"])
            return QStringLiteral("the credit note started elsewhere");
        d.creditLines = x["after"];
        d.creditFlag = true;
    } else if (c.what == u"rewrite") {
        QString& lines = x["table"] == u"AVOIR" ? d.creditLines : d.lines;
        if (!d.exists || lines != x["old"]) return QStringLiteral("the old lines are not the ones we know");
        lines = x["new"];
    } else if (c.what == u"delete") {
        if (!d.exists || d.kind != x["kind"]) return QStringLiteral("deleting a document we do not know");
        d = DocState{};
    } else if (c.what == u"uncredit") {
        if (!d.exists || d.creditLines != x["before"])
            return QStringLiteral("the credit note is not the one we know");
        d.creditLines = kNoLines;
        d.creditFlag = false;
    } else {
        return QStringLiteral("unknown command");
    }
    return {};
}

struct Tally {
    int kills = 0;
    int completed = 0;
    int interrupted = 0;
    int landed = 0; // of the interrupted ones, found whole rather than not at all
    std::map<QString, int> done, cutShort;
};

// Brings the model up to what the journal says and compares it with the file; what is wrong, or empty.
std::string verify(const QString& dbPath, const Journal& journal, Model& model, Tally& tally) {
    if (!journal.problem.isEmpty()) return journal.problem.toStdString();
    Database db;
    if (!db.open(dbPath)) return "the file does not open: " + db.lastError().toStdString();
    const QStringList problems = schema::check(db);
    if (!problems.isEmpty())
        return "the file is not sound:\n  " + problems.join(QStringLiteral("\n  ")).toStdString();
    const Model found = readFile(db);
    db.close();
    auto at = [](const Model& from, qint64 n) { return from.contains(n) ? from.at(n) : DocState{}; };
    for (const Command& c : journal.commands) {
        const DocState before = at(model, c.number);
        DocState after = before;
        if (const QString e = apply(c, after); !e.isEmpty())
            return QStringLiteral("%1 (%2): %3").arg(c.what).arg(c.number).arg(e).toStdString();
        if (!c.done) {
            const DocState now = at(found, c.number);
            if (now != before && now != after)
                return QStringLiteral("cut short: %1\n  found:  ").arg(c.text).toStdString() +
                       now.describe() + "\n  before: " + before.describe() +
                       "\n  after:  " + after.describe();
            ++tally.interrupted;
            ++tally.cutShort[c.what];
            if (now == after && after != before) ++tally.landed;
            after = now;
        } else {
            ++tally.completed;
            ++tally.done[c.what];
        }
        if (after.exists)
            model[c.number] = after;
        else
            model.erase(c.number);
    }
    std::string differences;
    int shown = 0;
    Model all = model;
    all.insert(found.begin(), found.end());
    for (const auto& [number, unused] : all) {
        const DocState want = at(model, number), got = at(found, number);
        if (want != got && ++shown <= 10)
            differences += "\n  " + std::to_string(number) + ": expected " + want.describe() + "\n  " +
                           std::string(std::to_string(number).size(), ' ') + "  found    " + got.describe();
    }
    return shown == 0 ? std::string()
                      : std::to_string(shown) + " documents differ from the journal:" + differences;
}

int environmentNumber(const char* name, int otherwise) {
    bool ok = false;
    const int n = qEnvironmentVariableIntValue(name, &ok);
    return ok && n > 0 ? n : otherwise;
}

class CrashSafety : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        dbPath = dir.filePath(QString::fromLatin1(schema::kFileName));
        ASSERT_EQ(test::runDbTool({QStringLiteral("demo"), dbPath, QStringLiteral("--documents"),
                                   QStringLiteral("300"), QStringLiteral("--seed"), QStringLiteral("11")}),
                  0);
        Database db;
        ASSERT_TRUE(db.open(dbPath));
        model = readFile(db);
        ASSERT_EQ(model.size(), 300u);
    }
    void TearDown() override {
        // Kept for a look when something went wrong.
        if (HasFailure()) {
            dir.setAutoRemove(false);
            std::printf("file and journal kept in %s\n", qPrintable(dir.path()));
        }
    }

    // Starts the worker; with killAfterMs, kills it that long after it is ready, else lets it finish.
    // The worker's output, for failure messages.
    QString runWorker(quint64 seed, int killAfterMs, int commands, bool& killed) {
        QFile::remove(journalPath);
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        QStringList args{dir.path(), QString::number(seed), journalPath};
        if (commands > 0) args << QString::number(commands);
        p.start(QStringLiteral(PYLON_CRASH_WORKER), args);
        QByteArray out;
        QElapsedTimer clock;
        clock.start();
        while (killAfterMs >= 0 && !out.contains("READY\n") && p.state() != QProcess::NotRunning &&
               clock.elapsed() < 120000) {
            p.waitForReadyRead(50);
            out += p.readAll();
        }
        // Killed by us only if it was ready and still running: a worker that hangs on start or dies by
        // itself (a sanitizer's abort is a crash too) must not pass for a kill.
        killed = killAfterMs >= 0 && out.contains("READY\n") && !p.waitForFinished(killAfterMs) &&
                 ::kill(pid_t(p.processId()), SIGKILL) == 0;
        p.waitForFinished(300000);
        out += p.readAll();
        if (p.exitStatus() == QProcess::NormalExit && p.exitCode() != 0)
            out += "\n(ended with exit code " + QByteArray::number(p.exitCode()) + ")";
        else if (p.exitStatus() == QProcess::CrashExit && !killed)
            out += "\n(ended by a crash of its own)";
        return QString::fromUtf8(out);
    }

    QTemporaryDir dir;
    QString dbPath;
    QString journalPath = dir.filePath(QStringLiteral("journal.txt"));
    Model model;
    Tally tally;
};

TEST_F(CrashSafety, TheCheckSeesALostLineAndAHalfWrittenSave) {
    // A line gone from a document nobody touched.
    const qint64 untouched = model.begin()->first;
    Database db;
    ASSERT_TRUE(db.open(dbPath));
    ASSERT_TRUE(db.exec(QStringLiteral("DELETE FROM DetFact WHERE rowid = (SELECT max(rowid) FROM DetFact "
                                       "WHERE NumFact = %1)")
                            .arg(untouched)));
    Model copy = model;
    EXPECT_NE(verify(dbPath, Journal{}, copy, tally), "");
    ASSERT_TRUE(db.exec(
        QStringLiteral("DELETE FROM DetFact WHERE NumFact = %1; DELETE FROM Facture WHERE NumFact = %1; "
                       "DELETE FROM CliEC WHERE NumCli NOT IN (SELECT NumCli FROM Facture)")
            .arg(untouched)));
    model.erase(untouched);
    ASSERT_EQ(verify(dbPath, Journal{}, model, tally), "");

    // A save cut short that left its header and one of its two lines.
    const std::vector<QStringList> lines{{"1", "2", "vis", "1,00", "2,00"},
                                         {"2", "1", "clou", "0,50", "0,50"}};
    ASSERT_TRUE(
        db.exec(QStringLiteral("INSERT INTO CliEC VALUES (900, 0, 0); INSERT INTO Facture VALUES (90000, "
                               "'2026-01-05', 900, 'X', 'Y', 'Devis', 0, 0); INSERT INTO DetFact VALUES "
                               "(90000, '1', '2', 'vis', '1,00', '2,00')")));
    db.close();
    QFile f(journalPath);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("BEGIN save 90000 kind=Devis client=900 lines=" + summary(lines).toUtf8() + "\n");
    f.close();
    Model before = model;
    const std::string seen = verify(dbPath, readJournal(journalPath), model, tally);
    EXPECT_NE(seen.find("cut short"), std::string::npos) << seen;

    // The same save whole passes.
    ASSERT_TRUE(db.open(dbPath));
    ASSERT_TRUE(
        db.exec(QStringLiteral("INSERT INTO DetFact VALUES (90000, '2', '1', 'clou', '0,50', '0,50')")));
    db.close();
    EXPECT_EQ(verify(dbPath, readJournal(journalPath), before, tally), "");
    EXPECT_EQ(tally.landed, 1);
}

TEST_F(CrashSafety, JournalAndFileAgreeWhenNothingIsKilled) {
    bool killed = false;
    const QString out = runWorker(5, -1, 120, killed);
    ASSERT_FALSE(out.contains(QStringLiteral("(ended "))) << out.toStdString();
    const Journal journal = readJournal(journalPath);
    ASSERT_FALSE(journal.commands.empty());
    EXPECT_TRUE(journal.commands.back().done);
    EXPECT_EQ(verify(dbPath, journal, model, tally), "");
    for (const char* what : {"save", "credit", "monthend", "rewrite", "delete", "uncredit"})
        EXPECT_GT(tally.done[QString::fromLatin1(what)], 0)
            << what << " never ran: the test would not cover it";
}

TEST_F(CrashSafety, NothingIsLostOrHalfWrittenWhenKilledAtRandomMoments) {
    const int kills = environmentNumber("PYLON_KILLS", 200);
    bool given = false;
    const quint64 asked = qgetenv("PYLON_CRASH_SEED").toULongLong(&given);
    const quint64 seed = given ? asked : 20260105;
    Rng rounds{seed};
    for (int round = 1; round <= kills; ++round) {
        const quint64 roundSeed = rounds.next();
        const int delay = 5 + int(rounds.below(196));
        bool killed = false;
        const QString out = runWorker(roundSeed, delay, 0, killed);
        ASSERT_TRUE(killed) << "round " << round << ": the worker ended by itself\n" << out.toStdString();
        ++tally.kills;
        const std::string wrong = verify(dbPath, readJournal(journalPath), model, tally);
        ASSERT_EQ(wrong, "") << "round " << round << " (seed " << seed << ", worker seed " << roundSeed
                             << ", killed " << delay << " ms after it was ready)";
    }
    QString out;
    EXPECT_EQ(test::runDbTool({QStringLiteral("check"), dbPath}, &out), 0) << out.toStdString();
    EXPECT_GT(tally.interrupted, 0) << "no kill ever came in the middle of a command";
    std::printf("crash safety: %d kills survived, %d commands completed, %d interrupted\n", tally.kills,
                tally.completed, tally.interrupted);
    QStringList cut;
    for (const auto& [what, n] : tally.cutShort)
        cut << QStringLiteral("%1 %2").arg(what).arg(n);
    std::printf("  seed %llu; of the interrupted, %d found whole and %d not begun (%s)\n",
                static_cast<unsigned long long>(seed), tally.landed, tally.interrupted - tally.landed,
                qPrintable(cut.join(QStringLiteral(", "))));
}

} // namespace
