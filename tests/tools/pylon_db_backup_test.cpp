// pylon-db's copies, restores, CSV files and sales ledger, driven through the built binary; files compared
// whole through pylon-db dump.
#include "store/database.h"
#include "support/temp_db.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace pylon {
namespace {

using test::dumpOf;
using test::runDbTool;
using test::TempDb;

QStringList args(std::initializer_list<const char*> words) {
    QStringList out;
    for (const char* w : words)
        out << QString::fromUtf8(w);
    return out;
}

const QString kDocumentInLog = QStringLiteral(
    "INSERT INTO CliEC VALUES (990001, 0, 0);"
    "INSERT INTO Facture VALUES (990001, '2026-11-20', 990001, 'Journal', 'Log', 'Facture', 0, 0);"
    "INSERT INTO DetFact VALUES (990001, ' ', '1', 'Dans le journal', '9,00', '9,00');");

QStringList keptCopies(const QString& dir) {
    return QDir(dir + QStringLiteral("/Sauvegardes")).entryList({QStringLiteral("*avant-restauration*.db")});
}

// ---- restore ----

enum class Backup { Sound, Damaged };

struct RestoreCase {
    const char* name;
    bool targetThere;
    bool force;
    Backup backup;
    int exitCode;
    bool replaced;
};

class PylonDbRestore : public ::testing::TestWithParam<RestoreCase> {};

TEST_P(PylonDbRestore, PutsBackOnlyASoundBackupAndKeepsWhatItReplaces) {
    const RestoreCase& c = GetParam();
    const TempDb source(60, 7);
    QTemporaryDir dir;
    const QString backup = dir.filePath(QStringLiteral("copie.db"));
    ASSERT_EQ(runDbTool({QStringLiteral("backup"), source.path(), backup}), 0);
    if (c.backup == Backup::Damaged) {
        QFile f(backup);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite) && f.seek(4096 * 5));
        f.write(QByteArray(4096, '\xff'));
    }
    const TempDb target(40, 3);
    QString path = target.path();
    if (c.targetThere)
        ASSERT_TRUE(test::writeIntoLog(path, kDocumentInLog));
    else
        path = target.dir() + QStringLiteral("/nouveau/VelD");
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QString before = dumpOf(path);
    const QString wanted = dumpOf(backup);

    QStringList command{QStringLiteral("restore"), backup, path};
    if (c.force) command << QStringLiteral("--force");
    QString out;
    EXPECT_EQ(runDbTool(command, &out), c.exitCode) << out.toStdString();
    EXPECT_EQ(dumpOf(path), c.replaced ? wanted : before);
    // The file replaced, its log included, is kept beside it; nothing is kept when nothing was replaced.
    const QStringList kept = keptCopies(QFileInfo(path).absolutePath());
    ASSERT_EQ(kept.size(), c.replaced && c.targetThere ? 1 : 0) << kept.join(' ').toStdString();
    if (!kept.isEmpty()) {
        EXPECT_TRUE(before.contains(QStringLiteral("'Dans le journal'")));
        EXPECT_EQ(dumpOf(target.dir() + QStringLiteral("/Sauvegardes/") + kept.first()), before);
    }
    if (c.replaced) {
        EXPECT_EQ(runDbTool({QStringLiteral("check"), path}), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PylonDbRestore,
    ::testing::Values(RestoreCase{"RefusesToOverwriteWithoutForce", true, false, Backup::Sound, 1, false},
                      RestoreCase{"ReplacesWithForceAfterKeepingACopy", true, true, Backup::Sound, 0, true},
                      RestoreCase{"PutsBackAMissingFile", false, false, Backup::Sound, 0, true},
                      RestoreCase{"RefusesADamagedBackup", true, true, Backup::Damaged, 1, false}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- backup ----

TEST(PylonDbBackup, TakesTheDaysSnapshotBesideTheFileAndPrunesTheOldOnes) {
    const TempDb db(50);
    const QString folder = db.dir() + QStringLiteral("/Sauvegardes/");
    QDir().mkpath(folder);
    // Eight snapshots of one month long ago: the seven latest stay with today's, the first of that month
    // does not, being older than twelve months.
    for (int d = 1; d <= 8; ++d)
        QFile(folder + QStringLiteral("VelD-2020-01-0%1.db").arg(d)).open(QIODevice::WriteOnly);
    QFile settings(db.dir() + QStringLiteral("/Pylon.ini"));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly) && settings.write("[Societe]\nNom=Essai\n") > 0);
    settings.close();

    ASSERT_EQ(runDbTool({QStringLiteral("backup"), db.path()}), 0);
    const QString today = QDate::currentDate().toString(Qt::ISODate);
    EXPECT_EQ(dumpOf(folder + QStringLiteral("VelD-%1.db").arg(today)), dumpOf(db.path()));
    QFile copied(folder + QStringLiteral("Pylon-%1.ini").arg(today));
    ASSERT_TRUE(copied.open(QIODevice::ReadOnly));
    EXPECT_EQ(copied.readAll(), QByteArray("[Societe]\nNom=Essai\n"));
    EXPECT_EQ(
        QDir(folder).entryList({QStringLiteral("VelD-2020-*")}).join(' ').toStdString(),
        "VelD-2020-01-03.db VelD-2020-01-04.db VelD-2020-01-05.db VelD-2020-01-06.db VelD-2020-01-07.db "
        "VelD-2020-01-08.db");
    // A DEST that exists is never overwritten.
    EXPECT_EQ(runDbTool({QStringLiteral("backup"), db.path(), settings.fileName()}), 1);
    EXPECT_TRUE(settings.open(QIODevice::ReadOnly) && settings.readAll() == "[Societe]\nNom=Essai\n");
}

// ---- export and import ----

struct RoundTrip {
    const char* name;
    int documents;
    const char* planted; // SQL run on the file first
};

class PylonDbCsv : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(PylonDbCsv, ImportOfTheExportIsTheSameFile) {
    const TempDb db(GetParam().documents, 5);
    if (*GetParam().planted) {
        ASSERT_TRUE(db.exec(QString::fromUtf8(GetParam().planted)));
    }
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("csv"));
    const QString copy = dir.filePath(QStringLiteral("VelD"));
    QString out;
    ASSERT_EQ(runDbTool({QStringLiteral("export"), db.path(), QStringLiteral("--csv"), csv}, &out), 0)
        << out.toStdString();
    ASSERT_EQ(runDbTool({QStringLiteral("import"), csv, copy}, &out), 0) << out.toStdString();
    EXPECT_EQ(dumpOf(copy), dumpOf(db.path()));
    QString original, imported;
    EXPECT_EQ(runDbTool({QStringLiteral("check"), copy}, &imported),
              runDbTool({QStringLiteral("check"), db.path()}, &original));
    EXPECT_EQ(imported, original);
    // Never over an existing file.
    EXPECT_EQ(runDbTool({QStringLiteral("import"), csv, copy}), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Files, PylonDbCsv,
    ::testing::Values(
        RoundTrip{"DemoBusiness", 400, ""},
        // What the program never writes but another tool might: every value keeps its type and its bytes.
        RoundTrip{"ValuesOfEveryKind", 20,
                  "INSERT INTO CliEC VALUES (900001, NULL, 0), ('sept', 1.5, X'00');"
                  "INSERT INTO Facture VALUES (900001, '2026-11-03', 900001, "
                  "'Guillemets \"doubles\", virgule; point-virgule', 'ligne 1' || char(13, 10) || "
                  "'ligne 2' || char(10) || 'ligne 3', 'Facture', 1, NULL),"
                  "('n° 7', 20261103, 'sept', '', ' ', 'BL', 2.5, 'oui'), (900002, 1e300, -4, NULL, "
                  "CAST(X'C3FF' AS TEXT), 'Facture M', X'', 0);"
                  "INSERT INTO DetFact VALUES (900001, ' ', '', 'a,b', '12,50', NULL), (900001, 'X''41''', "
                  "'12', '\"', 2.5, X'00FF41'), (900002, '', '-0', 'é' || char(9), '0,10', '1e5');"
                  "INSERT INTO AVOIR VALUES (900001, '=1+1', ' 3', '', '', '');"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- the sales ledger ----

const char* const kLedgerFile =
    "INSERT INTO CliEC VALUES (1, 1, 0), (2, 0, 0);"
    "INSERT INTO Facture VALUES (9, '2026-10-31', 1, 'Alpha', '', 'Facture', 0, 0),"
    " (10, '2026-11-02', 1, 'Alpha', '', 'Facture', 0, 0), (11, '2026-11-05', 2, 'Beta; & Fils', '', "
    "'Facture', 1, 0),"
    " (12, '2026-11-10', 2, 'Beta; & Fils', '', 'Facture', 0, 1), (13, '2026-11-30', 1, 'Alpha', '', "
    "'Facture M', 0, 0),"
    " (14, '2026-11-15', 1, 'Alpha', '', 'Devis', 0, 0), (15, '2026-12-01', 1, 'Alpha', '', 'Facture', 0, 0);"
    "INSERT INTO DetFact VALUES (9, ' ', '1', 'a', '5,00', '5,00'), (10, ' ', '1', 'a', '100,00', '100,00'),"
    " (10, ' ', '1', 'b', '50,50', '50,50'), (11, ' ', '1', 'c', '200,00', '200,00'),"
    " (12, ' ', '1', 'd', '999,99', '999,99'), (13, ' ', '1', 'e', '10,00', '10,00'), (13, ' ', ' ', ' ', ' "
    "', ' '),"
    " (14, ' ', '1', 'f', '70,00', '70,00'), (15, ' ', '1', 'g', '3,00', '3,00');"
    "INSERT INTO AVOIR VALUES (11, ' ', '1', 'c', '20,00', '20,00');";

struct Period {
    const char* from;
    const char* to;
    const char* lines; // after the header: the documents, then the totals
};

class PylonDbJournal : public ::testing::TestWithParam<Period> {};

// Into a file as a spreadsheet opens it: a byte-order mark first, CRLF line ends.
TEST_P(PylonDbJournal, ListsTheInvoicesOfThePeriodAndTotalsThoseNotCancelled) {
    const TempDb db;
    ASSERT_TRUE(db.exec(QString::fromUtf8(kLedgerFile)));
    const QString csv = db.dir() + QStringLiteral("/journal.csv");
    ASSERT_EQ(runDbTool(args({"journal", "--from", GetParam().from, "--to", GetParam().to, "--csv"})
                        << csv << db.path()),
              0);
    QFile f(csv);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    EXPECT_TRUE(text.startsWith("\xEF\xBB\xBF"));
    QStringList lines = QString::fromUtf8(text.mid(3)).split(QStringLiteral("\r\n"));
    EXPECT_TRUE(lines.takeFirst().startsWith(
        QStringLiteral("Numéro;Date;N° client;Client;Type;Annulée;Total H.T;T.V.A. 20%;Total T.T.C")));
    EXPECT_EQ(lines.join(QStringLiteral("\n")), QString::fromUtf8(GetParam().lines));
}

INSTANTIATE_TEST_SUITE_P(
    Periods, PylonDbJournal,
    ::testing::Values(
        // The quote and the documents outside the month (the day before, the day after) are left out; the
        // cancelled invoice is listed but not counted; the credit note is deducted; an empty cell adds
        // nothing.
        Period{
            "2026-11-01", "2026-11-30",
            "10;02/11/2026;1;Alpha;Facture;;150,50;30,10;180,60;;;;150,50;30,10;180,60\n"
            "11;05/11/2026;2;\"Beta; & "
            "Fils\";Facture;;200,00;40,00;240,00;20,00;4,00;24,00;180,00;36,00;216,00\n"
            "12;10/11/2026;2;\"Beta; & Fils\";Facture;oui;999,99;200,00;1199,99;;;;999,99;200,00;1199,99\n"
            "13;30/11/2026;1;Alpha;Facture M;;10,00;2,00;12,00;;;;10,00;2,00;12,00\n"
            "Total;;;Du 01/11/2026 au 30/11/2026 : 3 documents comptés, 1 annulé non compté;;;360,50;72,10;"
            "432,60;20,00;4,00;24,00;340,50;68,10;408,60\n"},
        Period{
            "2027-01-01", "2027-01-31",
            "Total;;;Du 01/01/2027 au 31/01/2027 : 0 document compté, 0 annulé non compté;;;0,00;0,00;0,00;"
            "0,00;0,00;0,00;0,00;0,00;0,00\n"}),
    [](const auto& info) {
        return QString::fromLatin1(info.param.from).remove(QLatin1Char('-')).toStdString();
    });

} // namespace
} // namespace pylon
