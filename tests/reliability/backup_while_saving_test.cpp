// A snapshot taken while another program saves documents into the file: the worker of the crash test runs
// the editor's commands on a demo file, noting each in its journal once it has landed, and snapshots are
// taken meanwhile. Each must be sound and hold every document whose last command had landed before the
// snapshot began, with the lines that command wrote.
#include "backup/snapshot.h"
#include "lines_summary.h"
#include "store/database.h"
#include "support/temp_db.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <map>

using namespace pylon;

namespace {

QStringList journalLines(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    lines.removeLast(); // unfinished, or empty after the last line break
    return lines;
}

// "DONE save 123 kind=Facture client=5 lines=4:…" -> the command's document number.
qint64 numberOf(const QString& line) {
    return line.section(QLatin1Char(' '), 2, 2).toLongLong();
}

// The documents the snapshot must hold, with their lines: saved or gathered by a command that had landed
// when the snapshot began (in `before`), and touched by no command since (in `after`, read once it ended).
std::map<qint64, QString> settled(const QStringList& before, const QStringList& after) {
    std::map<qint64, qsizetype> last;
    for (qsizetype i = 0; i < after.size(); ++i)
        last[numberOf(after[i])] = i;
    std::map<qint64, QString> out;
    for (const auto& [number, i] : last) {
        const QString& line = after[i];
        if (i < before.size() && (line.startsWith(QStringLiteral("DONE save ")) ||
                                  line.startsWith(QStringLiteral("DONE monthend "))))
            out[number] = line.section(QStringLiteral("lines="), 1);
    }
    return out;
}

QString storedLines(Database& db, qint64 number) {
    std::vector<QStringList> lines;
    auto st = db.prepare(
        QStringLiteral("SELECT NB, Qt, Design, PU, Mnt FROM DetFact WHERE NumFact = ? ORDER BY rowid"));
    if (!st || !st->bind(0, number)) return QStringLiteral("unreadable");
    while (st->step()) {
        QStringList line;
        for (int c = 0; c < 5; ++c)
            line << (st->value(c).isNull() ? QStringLiteral("\x01") : st->value(c).toString());
        lines.push_back(line);
    }
    return linesSummary(lines);
}

TEST(BackupWhileSaving, HoldsEveryDocumentSavedBeforeItBegan) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("VelD"));
    const QString journal = dir.filePath(QStringLiteral("journal.txt"));
    ASSERT_EQ(
        test::runDbTool({QStringLiteral("demo"), path, QStringLiteral("--documents"), QStringLiteral("300")}),
        0);
    QProcess worker;
    worker.setStandardErrorFile(QProcess::nullDevice());
    worker.start(QStringLiteral(PYLON_CRASH_WORKER), {dir.path(), QStringLiteral("11"), journal});
    ASSERT_TRUE(worker.waitForReadyRead(60000));

    int checked = 0;
    for (int round = 1; round <= 4; ++round) {
        // Let the worker land a few more commands first.
        const qsizetype landed = journalLines(journal).size();
        QElapsedTimer clock;
        clock.start();
        while (journalLines(journal).size() < landed + 12 && clock.elapsed() < 60000)
            QThread::msleep(20);
        ASSERT_EQ(worker.state(), QProcess::Running) << "the worker stopped";

        const QString copy = dir.filePath(QStringLiteral("copie-%1.db").arg(round));
        const QStringList before = journalLines(journal);
        const snapshot::Outcome taken = snapshot::copyDatabase(path, copy);
        ASSERT_TRUE(taken.ok) << taken.detail.toStdString();
        const QStringList after = journalLines(journal);

        QString out;
        EXPECT_EQ(test::runDbTool({QStringLiteral("check"), copy}, &out), 0) << out.toStdString();
        Database db;
        ASSERT_TRUE(db.open(copy, Database::Mode::ReadOnly));
        for (const auto& [number, lines] : settled(before, after)) {
            EXPECT_EQ(storedLines(db, number), lines) << "document " << number << ", round " << round;
            ++checked;
        }
    }
    worker.kill();
    worker.waitForFinished();
    EXPECT_GT(checked, 20);
}

} // namespace
