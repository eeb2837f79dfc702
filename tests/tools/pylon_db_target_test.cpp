// The files pylon-db puts in place or writes, against whatever else stands at or holds their names: a log
// left beside a name, a program that has the file open, a database given as an output file. Driven
// through the built binary; files compared whole through pylon-db dump.
#include "store/database.h"
#include "store/schema.h"
#include "support/temp_db.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace pylon {
namespace {

using test::dumpOf;
using test::runDbTool;
using test::TempDb;

// No log of any weight beside the name: SQLite would apply it to the file.
bool logBeside(const QString& path) {
    for (const char* suffix : {"-wal", "-journal"}) {
        const QFileInfo log(path + QLatin1String(suffix));
        if (log.exists() && (!log.isFile() || log.size() > 0)) return true;
    }
    return false;
}

// ---- a log left beside the name a command gives its file ----

enum class Put { Backup, Import, Restore };

struct StaleCase {
    const char* name;
    Put command;
    bool logIsAFolder; // a log that cannot be removed: the command must give up, not apply it
};

class PylonDbPutsInPlace : public ::testing::TestWithParam<StaleCase> {};

TEST_P(PylonDbPutsInPlace, NeverLetsALogLeftBesideTheNameChangeTheNewFile) {
    const StaleCase& c = GetParam();
    const TempDb source(200, 4);
    ASSERT_TRUE(test::writeIntoLog(source.path(), QStringLiteral("UPDATE Facture SET NomCli = 'Dans le log' "
                                                                 "WHERE NumFact = (SELECT max(NumFact) FROM "
                                                                 "Facture)")));
    const QString wanted = dumpOf(source.path());
    ASSERT_TRUE(wanted.contains(QStringLiteral("Dans le log")));
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("VelD"));
    if (c.logIsAFolder)
        ASSERT_TRUE(QDir().mkpath(target + QStringLiteral("-wal/dedans")));
    else
        ASSERT_TRUE(test::plantStaleLog(target));

    QStringList command;
    const QString backup = dir.filePath(QStringLiteral("copie.db"));
    const QString csv = dir.filePath(QStringLiteral("csv"));
    if (c.command == Put::Backup) command = {QStringLiteral("backup"), source.path(), target};
    if (c.command == Put::Import) {
        ASSERT_EQ(runDbTool({QStringLiteral("export"), source.path(), QStringLiteral("--csv"), csv}), 0);
        command = {QStringLiteral("import"), csv, target};
    }
    if (c.command == Put::Restore) {
        ASSERT_EQ(runDbTool({QStringLiteral("backup"), source.path(), backup}), 0);
        command = {QStringLiteral("restore"), backup, target};
    }
    QString out;
    const int code = runDbTool(command, &out);
    if (c.logIsAFolder) {
        EXPECT_EQ(code, 1) << out.toStdString();
        EXPECT_FALSE(QFileInfo::exists(target));
    } else {
        ASSERT_EQ(code, 0) << out.toStdString();
        EXPECT_FALSE(logBeside(target));
        EXPECT_EQ(dumpOf(target), wanted);
        EXPECT_EQ(runDbTool({QStringLiteral("check"), target}, &out), 0) << out.toStdString();
    }
    // Nothing half-made is left in the folder.
    EXPECT_EQ(
        QDir(dir.path()).entryList({QStringLiteral("*.tmp*")}, QDir::AllEntries).join(' ').toStdString(), "");
}

INSTANTIATE_TEST_SUITE_P(Commands, PylonDbPutsInPlace,
                         ::testing::Values(StaleCase{"Backup", Put::Backup, false},
                                           StaleCase{"Import", Put::Import, false},
                                           StaleCase{"Restore", Put::Restore, false},
                                           StaleCase{"BackupBesideALogItCannotRemove", Put::Backup, true},
                                           StaleCase{"ImportBesideALogItCannotRemove", Put::Import, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- a file another program has open ----

TEST(PylonDbPutsInPlace, RefusesWhileAnotherProgramHasTheFileOpen) {
    const TempDb source(60, 2);
    const TempDb target(40, 3);
    const QString backup = target.dir() + QStringLiteral("/copie.db");
    ASSERT_EQ(runDbTool({QStringLiteral("backup"), source.path(), backup}), 0);
    const QString before = dumpOf(target.path());
    const QString inUse =
        QStringLiteral("La base de données %1 est ouverte par un autre programme (Pylon Beta "
                       "?). Fermez-le, puis recommencez.");
    {
        // The program, in another process than pylon-db: open, having read the file.
        Database program;
        ASSERT_TRUE(program.open(target.path()));
        ASSERT_TRUE(program.scalar(QStringLiteral("SELECT count(*) FROM Facture")).isValid());
        QString out;
        EXPECT_EQ(
            runDbTool({QStringLiteral("restore"), backup, target.path(), QStringLiteral("--force")}, &out),
            1);
        EXPECT_TRUE(out.contains(inUse.arg(target.path()))) << out.toStdString();
        EXPECT_FALSE(QDir(target.dir() + QStringLiteral("/Sauvegardes")).exists());
        // The program goes on saving into its file.
        EXPECT_TRUE(program.exec(QStringLiteral("INSERT INTO CliEC VALUES (777, 0, 0)")));

        // A file deleted while the program has it open still has its log files in use beside its name.
        const QString moved = target.dir() + QStringLiteral("/ailleurs");
        ASSERT_TRUE(QFile::rename(target.path(), moved));
        const QString csv = target.dir() + QStringLiteral("/csv");
        ASSERT_EQ(runDbTool({QStringLiteral("export"), backup, QStringLiteral("--csv"), csv}), 0);
        EXPECT_EQ(runDbTool({QStringLiteral("import"), csv, target.path()}, &out), 1);
        EXPECT_TRUE(out.contains(inUse.arg(target.path()))) << out.toStdString();
        EXPECT_FALSE(QFileInfo::exists(target.path()));
        // A save of the program into the moved file is refused, as for any file moved under it.
        EXPECT_FALSE(program.begin());
        ASSERT_TRUE(QFile::rename(moved, target.path()));
    }
    // Closed, the file is replaced, and the copy kept holds the program's last save.
    QString out;
    EXPECT_EQ(runDbTool({QStringLiteral("restore"), backup, target.path(), QStringLiteral("--force")}, &out),
              0)
        << out.toStdString();
    EXPECT_EQ(dumpOf(target.path()), dumpOf(backup));
    const QStringList kept =
        QDir(target.dir() + QStringLiteral("/Sauvegardes")).entryList({QStringLiteral("*.db")});
    ASSERT_EQ(kept.size(), 1);
    const QString keptDump = dumpOf(target.dir() + QStringLiteral("/Sauvegardes/") + kept.first());
    EXPECT_NE(keptDump, before);
    EXPECT_TRUE(keptDump.contains(QStringLiteral("777"))) << "the last save is not in the copy kept";
}

// ---- files written as output ----

enum class Output { TheDatabase, ItsLog, ALinkToTheDatabase, AnotherFile, NewFile };

struct OutputCase {
    const char* name;
    const char* command; // "journal" or "pdf"
    Output output;
    bool force;
    int exitCode;
};

class PylonDbWritesOutput : public ::testing::TestWithParam<OutputCase> {};

TEST_P(PylonDbWritesOutput, NeverOverADatabaseOrItsLogNorAnExistingFileWithoutForce) {
    const OutputCase& c = GetParam();
    const TempDb db(30, 6);
    const QString number = db.scalar(QStringLiteral("SELECT min(NumFact) FROM Facture"));
    ASSERT_TRUE(test::writeIntoLog(db.path(), QStringLiteral("INSERT INTO CliEC VALUES (888, 0, 0)")));
    const QString before = dumpOf(db.path());
    QString output = db.dir() + QStringLiteral("/sortie");
    const QByteArray earlier = "a file of the user's\n";
    switch (c.output) {
    case Output::TheDatabase:
        output = db.path();
        break;
    case Output::ItsLog:
        output = db.path() + QStringLiteral("-wal");
        break;
    case Output::ALinkToTheDatabase:
        ASSERT_TRUE(QFile::link(db.path(), output));
        break;
    case Output::AnotherFile: {
        QFile f(output);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(earlier) == earlier.size());
        break;
    }
    case Output::NewFile:
        break;
    }
    QFile log(db.path() + QStringLiteral("-wal"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QByteArray logBefore = log.readAll();
    log.close();

    QStringList command{QString::fromLatin1(c.command), db.path()};
    if (qstrcmp(c.command, "journal") == 0)
        command << QStringLiteral("--from") << QStringLiteral("2020-01-01") << QStringLiteral("--to")
                << QStringLiteral("2030-12-31") << QStringLiteral("--csv") << output;
    else
        command << number << output;
    if (c.force) command << QStringLiteral("--force");
    QString out;
    EXPECT_EQ(runDbTool(command, &out), c.exitCode) << out.toStdString();

    EXPECT_EQ(dumpOf(db.path()), before);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll() == logBefore) << "the log was written over";
    QFile written(output);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray now = written.readAll();
    if (c.output == Output::AnotherFile) {
        EXPECT_EQ(now == earlier, c.exitCode != 0);
    }
    if (c.exitCode == 0) {
        EXPECT_TRUE(now.startsWith(qstrcmp(c.command, "journal") == 0 ? "\xEF\xBB\xBF" : "%PDF"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, PylonDbWritesOutput,
    ::testing::Values(OutputCase{"JournalOverTheDatabase", "journal", Output::TheDatabase, false, 1},
                      OutputCase{"JournalOverTheDatabaseForced", "journal", Output::TheDatabase, true, 1},
                      OutputCase{"JournalOverItsLogForced", "journal", Output::ItsLog, true, 1},
                      OutputCase{"JournalThroughALinkForced", "journal", Output::ALinkToTheDatabase, true, 1},
                      OutputCase{"JournalOverAFile", "journal", Output::AnotherFile, false, 1},
                      OutputCase{"JournalOverAFileForced", "journal", Output::AnotherFile, true, 0},
                      OutputCase{"JournalIntoANewFile", "journal", Output::NewFile, false, 0},
                      OutputCase{"PdfOverTheDatabaseForced", "pdf", Output::TheDatabase, true, 1},
                      OutputCase{"PdfOverItsLogForced", "pdf", Output::ItsLog, true, 1},
                      OutputCase{"PdfOverAFile", "pdf", Output::AnotherFile, false, 1},
                      OutputCase{"PdfOverAFileForced", "pdf", Output::AnotherFile, true, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- CSV files ----

TEST(PylonDbCsvFiles, ImportReadsFilesSavedWithAByteOrderMark) {
    const TempDb db(80, 9);
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("csv"));
    ASSERT_EQ(runDbTool({QStringLiteral("export"), db.path(), QStringLiteral("--csv"), csv}), 0);
    for (const char* table : {"Facture", "DetFact", "AVOIR", "CliEC"}) {
        QFile f(csv + QStringLiteral("/%1.csv").arg(QLatin1String(table)));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        const QByteArray text = f.readAll();
        ASSERT_TRUE(f.seek(0) && f.write("\xEF\xBB\xBF" + text) == text.size() + 3);
    }
    QString out;
    ASSERT_EQ(runDbTool({QStringLiteral("import"), csv, dir.filePath(QStringLiteral("VelD"))}, &out), 0)
        << out.toStdString();
    EXPECT_EQ(dumpOf(dir.filePath(QStringLiteral("VelD"))), dumpOf(db.path()));
}

TEST(PylonDbCsvFiles, ExportReplacesTheFourFilesTogetherOrNotAtAll) {
    const TempDb db(40, 2);
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("csv"));
    ASSERT_TRUE(QDir().mkpath(csv));
    const QStringList tables{QStringLiteral("Facture"), QStringLiteral("DetFact"), QStringLiteral("AVOIR")};
    for (const QString& table : tables) {
        QFile f(csv + QStringLiteral("/%1.csv").arg(table));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write("ancien\r\n") == 8);
    }
    // The last of the four cannot take its name.
    ASSERT_TRUE(QDir().mkpath(csv + QStringLiteral("/CliEC.csv/dedans")));
    EXPECT_EQ(runDbTool({QStringLiteral("export"), db.path(), QStringLiteral("--csv"), csv}), 1);
    for (const QString& table : tables) {
        QFile f(csv + QStringLiteral("/%1.csv").arg(table));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), QByteArray("ancien\r\n")) << table.toStdString();
    }
    EXPECT_EQ(QDir(csv).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 4)
        << QDir(csv).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).join(' ').toStdString();
}

// The program's additions are written last, after the rows: a disk that fills up then (here a limit on
// the size of a file) must cost the whole import, not leave a file without them.
TEST(PylonDbCsvFiles, ImportUnderAFileSizeLimitMakesTheWholeFileOrNone) {
    const TempDb db(300, 8);
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("csv"));
    ASSERT_EQ(runDbTool({QStringLiteral("export"), db.path(), QStringLiteral("--csv"), csv}), 0);
    const QString target = dir.filePath(QStringLiteral("VelD"));
    ASSERT_EQ(runDbTool({QStringLiteral("import"), csv, target}), 0);
    const qint64 blocks = QFileInfo(target).size() / 512 + 1;
    QFile::remove(target);
    int refused = 0;
    for (qint64 limit = blocks / 4; limit <= blocks + 8; limit += std::max<qint64>(1, blocks / 40)) {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        // Past the limit a write fails (EFBIG) instead of killing the process.
        p.start(QStringLiteral("/bin/sh"),
                {QStringLiteral("-c"),
                 QStringLiteral("trap '' XFSZ; ulimit -f %1; exec \"$0\" import \"$1\" \"$2\"").arg(limit),
                 QStringLiteral(PYLON_DB_TOOL), csv, target});
        ASSERT_TRUE(p.waitForFinished(60000));
        const QString out = QString::fromUtf8(p.readAll());
        if (p.exitCode() != 0) {
            ASSERT_EQ(p.exitCode(), 1) << out.toStdString();
            ++refused;
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).join(' ').toStdString(), "")
                << "limit " << limit << ": " << out.toStdString();
            continue;
        }
        Database made;
        ASSERT_TRUE(made.open(target, Database::Mode::ReadOnly));
        EXPECT_TRUE(schema::hasAdditions(made)) << "limit " << limit << " of " << blocks << " blocks";
        made.close();
        EXPECT_EQ(dumpOf(target), dumpOf(db.path()));
        QFile::remove(target);
    }
    EXPECT_GT(refused, 0) << "no limit was low enough to matter";
}

} // namespace
} // namespace pylon
