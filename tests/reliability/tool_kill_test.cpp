// pylon-db killed with SIGKILL at random moments while it puts a file in place (backup into a new file,
// restore over a file the program has left, import into a new file): the name must then hold either the
// file as it was (or nothing) or the new file, whole, and never with a log beside it that is not its own.
// Each target starts with a stale log beside its name, which must never reach the new file.
//
// PYLON_TOOL_KILLS sets the number of kills per command.
#include "store/database.h"
#include "support/temp_db.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <signal.h>

using namespace pylon;

namespace {

// A save left in the file's log.
const QString kRenameInLog =
    QStringLiteral("UPDATE Facture SET NomCli = '%1' WHERE NumFact = (SELECT max(NumFact) FROM Facture)");

// Runs pylon-db and kills it after `killAfterMs` (when it is still running then); whether it was killed.
bool runAndKill(const QStringList& args, int killAfterMs) {
    QProcess p;
    p.start(QStringLiteral(PYLON_DB_TOOL), args);
    if (!p.waitForStarted(10000)) return false;
    const bool killed = !p.waitForFinished(killAfterMs) && ::kill(pid_t(p.processId()), SIGKILL) == 0;
    p.waitForFinished(60000);
    return killed;
}

int msToRun(const QStringList& args) {
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(test::runDbTool(args), 0);
    return int(clock.elapsed());
}

class ToolKills : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        source = dir.filePath(QStringLiteral("source"));
        earlier = dir.filePath(QStringLiteral("earlier"));
        for (const auto& [path, seed] : {std::pair{source, "11"}, std::pair{earlier, "12"}})
            ASSERT_EQ(
                test::runDbTool({QStringLiteral("demo"), path, QStringLiteral("--documents"),
                                 QStringLiteral("600"), QStringLiteral("--seed"), QString::fromLatin1(seed)}),
                0);
        ASSERT_TRUE(test::writeIntoLog(source, kRenameInLog.arg(QStringLiteral("Dans le log"))));
        sourceDump = test::dumpOf(source);
        target = dir.filePath(QStringLiteral("work/VelD"));
        ASSERT_TRUE(QDir().mkpath(QFileInfo(target).absolutePath()));
        bool given = false;
        const int asked = qEnvironmentVariableIntValue("PYLON_TOOL_KILLS", &given);
        kills = given && asked > 0 ? asked : 24;
    }
    void TearDown() override {
        if (HasFailure()) {
            dir.setAutoRemove(false);
            std::printf("files kept in %s\n", qPrintable(dir.path()));
        }
    }

    // What stands under the target's name: "nothing", "old", "new", or what is wrong with it.
    QString found(const QString& oldDump) {
        if (!QFileInfo::exists(target)) return QStringLiteral("nothing");
        QString out;
        if (test::runDbTool({QStringLiteral("check"), target}, &out) != 0)
            return QStringLiteral("a file that fails the check: ") + out;
        const QString now = test::dumpOf(target);
        if (now == sourceDump) return QStringLiteral("new");
        if (!oldDump.isEmpty() && now == oldDump) return QStringLiteral("old");
        return QStringLiteral("a file that is neither: ") + now.left(300);
    }

    // Runs the command `kills` times, each killed at a random moment of its run; `prepare` sets the target
    // up before each run and gives the dump of what it holds before (empty for no file).
    void killRepeatedly(const QStringList& command, const std::function<QString()>& prepare,
                        bool mayBeAbsent = true) {
        prepare();
        const int runMs = msToRun(command);
        QRandomGenerator rng(20260105);
        std::map<QString, int> outcomes;
        for (int round = 1; round <= kills; ++round) {
            const QString oldDump = prepare();
            const int delay = int(rng.bounded(runMs + 20));
            runAndKill(command, delay);
            const QString what = found(oldDump);
            ++outcomes[what];
            ASSERT_TRUE((mayBeAbsent && what == u"nothing") || what == u"old" || what == u"new")
                << "round " << round << ", killed after " << delay << " ms: " << what.toStdString();
            // The file replaced may still have its own log; the new one has none.
            if (what == u"new") {
                for (const char* suffix : {"-wal", "-journal"}) {
                    const QFileInfo log(target + QLatin1String(suffix));
                    EXPECT_FALSE(log.exists() && log.size() > 0)
                        << "round " << round << ": a log beside the file";
                }
            }
        }
        QStringList seen;
        for (const auto& [what, n] : outcomes)
            seen << QStringLiteral("%1 %2").arg(what).arg(n);
        std::printf("  %s: %d kills over a run of %d ms: %s\n", qPrintable(command.first()), kills, runMs,
                    qPrintable(seen.join(QStringLiteral(", "))));
    }

    // A new name with a stale log beside it, and no litter of earlier rounds.
    QString freshName() {
        QDir work(QFileInfo(target).absolutePath());
        work.removeRecursively();
        QDir().mkpath(work.path());
        EXPECT_TRUE(test::plantStaleLog(target));
        return {};
    }

    QTemporaryDir dir;
    QString source, earlier, target, sourceDump;
    int kills = 24;
};

TEST_F(ToolKills, BackupIntoANewFile) {
    killRepeatedly({QStringLiteral("backup"), source, target}, [&] { return freshName(); });
}

TEST_F(ToolKills, ImportIntoANewFile) {
    const QString csv = dir.filePath(QStringLiteral("csv"));
    ASSERT_EQ(test::runDbTool({QStringLiteral("export"), source, QStringLiteral("--csv"), csv}), 0);
    killRepeatedly({QStringLiteral("import"), csv, target}, [&] { return freshName(); });
}

// The file replaced holds a save still in its log: whatever moment the kill comes, that save is in the
// file under the name or in the new file's place, never lost.
TEST_F(ToolKills, RestoreOverAFileTheProgramHasLeft) {
    const QString backup = dir.filePath(QStringLiteral("copie.db"));
    ASSERT_EQ(test::runDbTool({QStringLiteral("backup"), source, backup}), 0);
    QString earlierDump;
    killRepeatedly(
        {QStringLiteral("restore"), backup, target, QStringLiteral("--force")},
        [&] {
            QDir work(QFileInfo(target).absolutePath());
            work.removeRecursively();
            QDir().mkpath(work.path());
            QFile::copy(earlier, target);
            EXPECT_TRUE(
                test::writeIntoLog(target, kRenameInLog.arg(QStringLiteral("Avant la restauration"))));
            if (earlierDump.isEmpty()) earlierDump = test::dumpOf(target);
            return earlierDump;
        },
        false);
}

} // namespace
