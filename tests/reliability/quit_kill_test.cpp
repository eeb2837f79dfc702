// "&Quitter" takes a snapshot and folds the log into the file: the machine may die at any moment of it.
// A worker saves documents, quits, and is killed with SIGKILL at a random moment of the quit sequence;
// the file must then be sound and hold every document the worker said was saved, the log beside it
// read with it as SQLite reads it, and a snapshot left behind must be whole or absent.
//
// PYLON_QUIT_KILLS sets the number of kills.
#include "support/temp_db.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <signal.h>

using namespace pylon::test;

namespace {

constexpr int kDocuments = 40;

// A business big enough that the snapshot and the fold take a moment to be killed in.
QString makeBusiness(const QTemporaryDir& dir) {
    const QString path = dir.filePath(QStringLiteral("base.db"));
    runDbTool({QStringLiteral("demo"), path, QStringLiteral("--documents"), QStringLiteral("3000"),
               QStringLiteral("--seed"), QStringLiteral("3")});
    return path;
}

struct Round {
    int saved = 0;
    bool ended = false;
    qint64 quitMs = 0; // from "quitting" to the end or the kill
};

// Runs the worker on a fresh copy of the business in `folder`; kills it `killAfterMs` after it says it
// quits (never, when negative).
Round runWorker(const QString& base, const QString& folder, qint64 killAfterMs) {
    const QString path = QDir(folder).filePath(QStringLiteral("VelD"));
    QFile::copy(base, path);
    QProcess worker;
    worker.setStandardErrorFile(QProcess::nullDevice());
    worker.start(QStringLiteral(PYLON_QUIT_WORKER), {path, QString::number(kDocuments)});
    Round round;
    QElapsedTimer clock;
    bool quitting = false;
    for (;;) {
        if (!worker.canReadLine()) {
            if (worker.state() == QProcess::NotRunning) break;
            worker.waitForReadyRead(100);
            if (clock.isValid() && clock.elapsed() > 60000) break;
            continue;
        }
        const QByteArray line = worker.readLine().trimmed();
        if (line.startsWith("saved ")) ++round.saved;
        if (line == "ended") round.ended = true;
        if (line == "quitting") {
            quitting = true;
            clock.start();
            if (killAfterMs >= 0) {
                QThread::usleep(quint64(killAfterMs) * 1000);
                ::kill(pid_t(worker.processId()), SIGKILL);
            }
        }
    }
    worker.waitForFinished(60000);
    round.quitMs = quitting ? clock.elapsed() : -1;
    return round;
}

void expectWhole(const QString& folder, int saved, const std::string& what) {
    const QString path = QDir(folder).filePath(QStringLiteral("VelD"));
    QString out;
    EXPECT_EQ(runDbTool({QStringLiteral("check"), path}, &out), 0) << what << out.toStdString();
    ASSERT_EQ(runDbTool({QStringLiteral("dump"), path}, &out), 0) << what;
    EXPECT_EQ(out.count(QStringLiteral("Dernière vente")), saved) << what;
    // A snapshot is put in place whole, or not at all.
    for (const QFileInfo& copy :
         QDir(QDir(folder).filePath(QStringLiteral("Sauvegardes"))).entryInfoList({QStringLiteral("*.db")})) {
        EXPECT_EQ(runDbTool({QStringLiteral("check"), copy.filePath()}, &out), 0)
            << what << copy.fileName().toStdString() << out.toStdString();
    }
}

TEST(QuitKill, AKillAnywhereInTheQuitSequenceLosesNothing) {
    QTemporaryDir dir;
    const QString base = makeBusiness(dir);

    // Once to the end: the file alone holds everything and the log is gone.
    QTemporaryDir whole;
    const Round full = runWorker(base, whole.path(), -1);
    ASSERT_TRUE(full.ended);
    ASSERT_EQ(full.saved, kDocuments);
    const QFileInfo log(whole.filePath(QStringLiteral("VelD-wal")));
    EXPECT_TRUE(!log.exists() || log.size() == 0);
    expectWhole(whole.path(), kDocuments, "no kill: ");

    const int kills =
        qEnvironmentVariableIsSet("PYLON_QUIT_KILLS") ? qEnvironmentVariableIntValue("PYLON_QUIT_KILLS") : 12;
    const qint64 span = std::max<qint64>(full.quitMs, 20);
    QRandomGenerator rng(20261130);
    for (int k = 0; k < kills; ++k) {
        QTemporaryDir folder;
        const qint64 after = rng.bounded(span + 1);
        const Round round = runWorker(base, folder.path(), after);
        ASSERT_EQ(round.saved, kDocuments) << "kill " << k;
        expectWhole(folder.path(), kDocuments,
                    "kill " + std::to_string(k) + " after " + std::to_string(after) + " ms: ");
    }
}

} // namespace
