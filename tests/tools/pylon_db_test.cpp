// pylon-db driven through the built binary, as the other tests and the benchmarks use it.
#include "domain/amount_text.h"
#include "store/database.h"
#include "support/file_faults.h"
#include "support/temp_db.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <memory>

namespace pylon {
namespace {

using test::dumpOf;
using test::runDbTool;
using test::TempDb;

// ---- init and check on an empty file ----

class PylonDbFiles : public ::testing::Test {
  protected:
    QString file(const char* name) const { return dir_.filePath(QString::fromUtf8(name)); }
    QTemporaryDir dir_;
};

TEST_F(PylonDbFiles, InitMakesAnEmptyDatabaseThatPassesCheck) {
    const QString path = file("VelD");
    QString out;
    ASSERT_EQ(runDbTool({QStringLiteral("init"), path}, &out), 0) << out.toStdString();
    ASSERT_EQ(runDbTool({QStringLiteral("check"), path}, &out), 0) << out.toStdString();
    EXPECT_EQ(out.trimmed().toStdString(), "ok");

    Database db;
    ASSERT_TRUE(db.open(path));
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT count(*) FROM Facture")).toInt(), 0);
    // The lines follow their document; nine more keep the kept totals honest.
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type='trigger'")).toInt(),
              10);
    EXPECT_GE(db.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type='index'")).toInt(), 6);
}

TEST_F(PylonDbFiles, InitAndDemoNeverOverwriteAFile) {
    const QString path = file("precious");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("keep me");
    }
    for (const QString& command : {QStringLiteral("init"), QStringLiteral("demo")}) {
        SCOPED_TRACE(command.toStdString());
        QString out;
        EXPECT_EQ(runDbTool({command, path}, &out), 1);
        EXPECT_TRUE(out.contains(QStringLiteral("already exists"))) << out.toStdString();
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), QByteArray("keep me"));
    }
}

TEST_F(PylonDbFiles, ReadingCommandsRejectWhatIsNotADatabaseInOneLine) {
    const QString text = file("notes.txt");
    {
        QFile f(text);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'x'));
    }
    for (const QString& command : {QStringLiteral("check"), QStringLiteral("dump")})
        for (const QString& path : {file("missing"), text, dir_.path()}) {
            SCOPED_TRACE((command + QLatin1Char(' ') + path).toStdString());
            QString out;
            EXPECT_EQ(runDbTool({command, path}, &out), 1);
            EXPECT_TRUE(out.startsWith(QStringLiteral("pylon-db: "))) << out.toStdString();
            EXPECT_EQ(out.count(QLatin1Char('\n')), 1) << out.toStdString();
        }
    // A database, but not ours: nothing to print, and said so.
    const QString other = file("other.db");
    {
        Database db;
        ASSERT_TRUE(db.open(other, Database::Mode::Create));
        ASSERT_TRUE(db.exec(QStringLiteral("CREATE TABLE Notes(t TEXT)")));
    }
    QString out;
    EXPECT_EQ(runDbTool({QStringLiteral("dump"), other}, &out), 1);
    EXPECT_TRUE(out.contains(QStringLiteral("lacks one of the tables"))) << out.toStdString();
}

TEST_F(PylonDbFiles, UsageErrorsExitWithTwoAndCreateNothing) {
    const QString path = file("never");
    const std::vector<QStringList> cases = {
        {},
        {QStringLiteral("frobnicate"), path},
        {QStringLiteral("init")},
        {QStringLiteral("check")},
        {QStringLiteral("init"), path, QStringLiteral("extra")},
        {QStringLiteral("check"), path, QStringLiteral("--seed"), QStringLiteral("1")},
        {QStringLiteral("dump")},
        {QStringLiteral("dump"), path, QStringLiteral("--seed"), QStringLiteral("1")},
        {QStringLiteral("demo"), path, QStringLiteral("--documents")},
        {QStringLiteral("demo"), path, QStringLiteral("--documents"), QStringLiteral("0")},
        {QStringLiteral("demo"), path, QStringLiteral("--documents"), QStringLiteral("-5")},
        {QStringLiteral("demo"), path, QStringLiteral("--documents=12x")},
        {QStringLiteral("demo"), path, QStringLiteral("--documents"), QStringLiteral("99999999999")},
        {QStringLiteral("demo"), path, QStringLiteral("--seed"), QStringLiteral("minus")},
        {QStringLiteral("demo"), path, QStringLiteral("--colour"), QStringLiteral("red")},
        {QStringLiteral("pdf"), path},
        {QStringLiteral("pdf"), path, QStringLiteral("7")},
        {QStringLiteral("pdf"), path, QStringLiteral("sept"), QStringLiteral("out.pdf")},
        {QStringLiteral("pdf"), path, QStringLiteral("--kind"), QStringLiteral("Facture"),
         QStringLiteral("out.pdf")},
        {QStringLiteral("pdf"), path, QStringLiteral("--kind"), QStringLiteral("Bon"),
         QStringLiteral("--month"), QStringLiteral("2026-11"), QStringLiteral("out.pdf")},
        {QStringLiteral("pdf"), path, QStringLiteral("--kind=Facture"), QStringLiteral("--month=2026-13"),
         QStringLiteral("out.pdf")},
        {QStringLiteral("pdf"), path, QStringLiteral("--kind=BL"), QStringLiteral("--month=2026-01"),
         QStringLiteral("7"), QStringLiteral("out.pdf")},
        {QStringLiteral("dump"), path, QStringLiteral("--kind"), QStringLiteral("BL")},
        {QStringLiteral("backup")},
        {QStringLiteral("backup"), path, path, path},
        {QStringLiteral("backup"), path, QStringLiteral("--force")},
        {QStringLiteral("restore"), path},
        {QStringLiteral("restore"), path, path, QStringLiteral("--force=yes")},
        {QStringLiteral("export"), path},
        {QStringLiteral("export"), path, QStringLiteral("--csv")},
        {QStringLiteral("import"), path},
        {QStringLiteral("journal"), path, QStringLiteral("--from"), QStringLiteral("2026-11-01")},
        {QStringLiteral("journal"), path, QStringLiteral("--from=2026-11-31"),
         QStringLiteral("--to=2026-12-01")},
        {QStringLiteral("journal"), path, QStringLiteral("--from=1/11/2026"),
         QStringLiteral("--to=2026-12-01")},
        {QStringLiteral("journal"), path, QStringLiteral("--from=2026-12-01"),
         QStringLiteral("--to=2026-11-01")},
    };
    for (const QStringList& args : cases) {
        SCOPED_TRACE(args.join(QLatin1Char(' ')).toStdString());
        QString out;
        EXPECT_EQ(runDbTool(args, &out), 2);
        EXPECT_TRUE(out.startsWith(QStringLiteral("pylon-db: "))) << out.toStdString();
        EXPECT_TRUE(out.contains(QStringLiteral("usage: "))) << out.toStdString();
        EXPECT_FALSE(QFile::exists(path));
    }
}

// ---- check finds what was planted in a sound demo ----

TEST(PylonDbCheck, ReportsPlantedDamage) {
    struct Plant {
        const char* what;
        const char* sql;
        const char* expected;
    };
    const Plant plants[] = {
        {"duplicate number", "INSERT INTO Facture SELECT * FROM Facture WHERE NumFact = 3",
         "document number 3"},
        {"document without lines", "DELETE FROM DetFact WHERE NumFact = 2", "document 2 has no line"},
        {"orphan lines", "INSERT INTO DetFact VALUES(777777, ' ', '1', 'Gomme', '2,00', '2,00')", "777777"},
        {"orphan credit lines", "INSERT INTO AVOIR VALUES(777778, ' ', '1', 'Gomme', '2,00', '2,00')",
         "777778"},
        {"missing client row",
         "DELETE FROM CliEC WHERE NumCli = (SELECT NumCli FROM Facture WHERE NumFact = 1)",
         "who has no CliEC row"},
    };
    for (const Plant& p : plants) {
        SCOPED_TRACE(p.what);
        const TempDb db(40);
        ASSERT_TRUE(db.exec(QString::fromUtf8(p.sql)));
        QString out;
        EXPECT_EQ(runDbTool({QStringLiteral("check"), db.path()}, &out), 1);
        EXPECT_TRUE(out.contains(QString::fromUtf8(p.expected))) << out.toStdString();
        EXPECT_FALSE(out.contains(QStringLiteral("ok\n")));
    }
}

// Checking or printing a file must not change it: neither switch it to the write-ahead log nor copy the
// log into the file; and the saves still waiting in the log are read.
struct ReadingCommand {
    const char* command;
    int exitCode;
    const char* saysIt; // what shows the duplicate number 5 was read
};

void PrintTo(const ReadingCommand& c, std::ostream* os) {
    *os << c.command;
}

class PylonDbReading : public ::testing::TestWithParam<ReadingCommand> {};

INSTANTIATE_TEST_SUITE_P(
    Commands, PylonDbReading,
    ::testing::Values(ReadingCommand{"check", 1, "document number 5 is used by 2 documents"},
                      ReadingCommand{"dump", 0,
                                     "  5, '2005-03-05', 1, 'A', 'B', 'Facture', 0, 0\n"
                                     "  5, '2005-03-06', 1, 'A', 'B', 'Facture', 0, 0\n"}),
    [](const auto& info) { return std::string(info.param.command); });

TEST_P(PylonDbReading, ReadsTheFileAndItsLogAndWritesNeither) {
    const ReadingCommand& c = GetParam();
    for (const bool inLog : {false, true}) {
        SCOPED_TRACE(inLog ? "saves waiting in the log" : "a rollback-journal file");
        const TempDb db;
        const QString path = db.path();
        {
            Database w;
            ASSERT_TRUE(w.open(path));
            ASSERT_TRUE(w.exec(inLog ? QStringLiteral("PRAGMA wal_autocheckpoint=0")
                                     : QStringLiteral("PRAGMA journal_mode=DELETE")));
            // A number used twice: only a check that reads the log finds it there.
            ASSERT_TRUE(w.exec(
                QStringLiteral("INSERT INTO CliEC VALUES (1, 0, 0);"
                               "INSERT INTO Facture VALUES (5, '2005-03-05', 1, 'A', 'B', 'Facture', 0, 0),"
                               " (5, '2005-03-06', 1, 'A', 'B', 'Facture', 0, 0);"
                               "INSERT INTO DetFact VALUES (5, ' ', '1', 'x', '1,00', '1,00');")));
            sqlite3_db_config(w.handle(), SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
        }
        const QString log = path + QStringLiteral("-wal");
        const QByteArray file = test::fingerprint(path), logged = test::fingerprint(log);
        QString out;
        EXPECT_EQ(runDbTool({QString::fromUtf8(c.command), path}, &out), c.exitCode);
        EXPECT_TRUE(out.contains(QString::fromUtf8(c.saysIt))) << out.toStdString();
        EXPECT_EQ(test::fingerprint(path), file) << "not a byte of the file written";
        EXPECT_EQ(test::fingerprint(log), logged);
    }
}

// ---- the demo business ----

class PylonDbDemo : public ::testing::Test {
  protected:
    static constexpr int kDocuments = 2000;
    static void SetUpTestSuite() { demo_ = std::make_unique<TempDb>(kDocuments, 7); }
    static void TearDownTestSuite() { demo_.reset(); }
    static qint64 count(const char* sql) { return demo_->scalar(QString::fromUtf8(sql)).toLongLong(); }
    static std::unique_ptr<TempDb> demo_;
};
std::unique_ptr<TempDb> PylonDbDemo::demo_;

TEST_F(PylonDbDemo, PassesCheckAndIsLeftInWalMode) {
    QString out;
    EXPECT_EQ(runDbTool({QStringLiteral("check"), demo_->path()}, &out), 0) << out.toStdString();
    EXPECT_EQ(out.trimmed().toStdString(), "ok");
    // Bytes 18 and 19 of the header are 2 in a file that uses a write-ahead log.
    QFile f(demo_->path());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray header = f.read(20);
    EXPECT_EQ(header.at(18), 2);
    EXPECT_EQ(header.at(19), 2);
}

TEST_F(PylonDbDemo, SummaryLineMatchesTheFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("VelD"));
    QString out;
    ASSERT_EQ(runDbTool({QStringLiteral("demo"), path, QStringLiteral("--documents=150")}, &out), 0);
    Database db;
    ASSERT_TRUE(db.open(path));
    auto n = [&](const char* sql) { return db.scalar(QString::fromUtf8(sql)).toString(); };
    const QString expected =
        QStringLiteral("150 documents, %1 lines, %2 clients, %3 suppliers -> %4")
            .arg(n("SELECT count(*) FROM DetFact"), n("SELECT count(*) FROM CliEC WHERE Frs = 0"),
                 n("SELECT count(*) FROM CliEC WHERE Frs = 1"), path);
    EXPECT_EQ(out.trimmed().toStdString(), expected.toStdString());
}

TEST_F(PylonDbDemo, SameSeedSameFileOtherSeedOtherFile) {
    const TempDb a(300, 5), b(300, 5), c(300, 6);
    const QString fa = dumpOf(a.path());
    EXPECT_GT(fa.size(), 10000);
    EXPECT_EQ(fa, dumpOf(b.path()));
    EXPECT_NE(fa, dumpOf(c.path()));
}

TEST_F(PylonDbDemo, HoldsEveryKindOfDocumentAndParty) {
    EXPECT_EQ(count("SELECT count(*) FROM Facture"), kDocuments);
    for (const char* kind : {"Facture", "Devis", "BC", "BL", "Facture M"}) {
        SCOPED_TRACE(kind);
        EXPECT_GT(demo_
                      ->scalar(QStringLiteral("SELECT count(*) FROM Facture WHERE TypeFact = '%1'")
                                   .arg(QString::fromUtf8(kind)))
                      .toInt(),
                  0);
    }
    EXPECT_GT(count("SELECT count(*) FROM Facture WHERE \"Annulée\" = 1"), 0);
    EXPECT_GT(count("SELECT count(*) FROM Facture WHERE Avoir = 1"), 0);
    EXPECT_GT(count("SELECT count(*) FROM CliEC WHERE ClientC = 1"), 0);
    EXPECT_GT(count("SELECT count(*) FROM CliEC WHERE Frs = 1"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM CliEC WHERE ClientC = 1 AND Frs = 1"), 0);
    // Suppliers appear on purchase orders and nowhere else, and every order names a supplier.
    EXPECT_EQ(count("SELECT count(*) FROM Facture f JOIN CliEC c ON c.NumCli = f.NumCli "
                    "WHERE (c.Frs = 1) <> (f.TypeFact = 'BC')"),
              0);
    EXPECT_LT(count("SELECT max(NumCli) FROM CliEC WHERE Frs = 0"),
              count("SELECT min(NumCli) FROM CliEC WHERE Frs = 1"));
}

TEST_F(PylonDbDemo, MonthEndInvoicesGatherAnOnAccountClientsDeliveries) {
    EXPECT_EQ(
        count("SELECT count(*) FROM Facture m JOIN CliEC c ON c.NumCli = m.NumCli "
              "WHERE m.TypeFact = 'Facture M' AND (c.ClientC = 0 OR (SELECT count(*) FROM Facture b "
              "WHERE b.NumCli = m.NumCli AND b.TypeFact = 'BL' "
              "AND substr(b.DateFact, 1, 7) = substr(m.DateFact, 1, 7) AND b.DateFact <= m.DateFact) < 2)"),
        0);
}

TEST_F(PylonDbDemo, CreditNotesHaveOneToFiveLines) {
    EXPECT_EQ(count("SELECT count(*) FROM Facture f WHERE Avoir = 1 AND "
                    "(SELECT count(*) FROM AVOIR a WHERE a.NumFact = f.NumFact) NOT BETWEEN 1 AND 5"),
              0);
    EXPECT_EQ(count("SELECT count(*) FROM Facture WHERE Avoir = 1 AND TypeFact <> 'Facture'"), 0);
}

TEST_F(PylonDbDemo, DocumentsHaveOneToThirtyTwoLinesAboutFiveOnAverage) {
    EXPECT_GE(count("SELECT min(n) FROM (SELECT count(*) n FROM DetFact GROUP BY NumFact)"), 1);
    EXPECT_LE(count("SELECT max(n) FROM (SELECT count(*) n FROM DetFact GROUP BY NumFact)"), 32);
    EXPECT_GT(count("SELECT max(n) FROM (SELECT count(*) n FROM DetFact GROUP BY NumFact)"), 8);
    const double average = demo_
                               ->scalar(QStringLiteral("SELECT avg(n) FROM (SELECT count(*) n FROM DetFact "
                                                       "GROUP BY NumFact)"))
                               .toDouble();
    EXPECT_GT(average, 4.0);
    EXPECT_LT(average, 6.5);
}

TEST_F(PylonDbDemo, LineCellsReadAsOnScreenAndAmountsAreQuantityTimesPrice) {
    Database db;
    ASSERT_TRUE(db.open(demo_->path()));
    const QRegularExpression quantity(QStringLiteral("^\\d+(,\\d{1,2})?$"));
    const QRegularExpression money(QStringLiteral("^\\d+,\\d\\d$"));
    int checked = 0;
    for (const char* table : {"DetFact", "AVOIR"}) {
        auto st = db.prepare(
            QStringLiteral("SELECT NumFact, NB, Qt, Design, PU, Mnt FROM %1").arg(QLatin1String(table)));
        ASSERT_TRUE(st);
        while (st->step()) {
            const QString where =
                QStringLiteral("%1 of document %2").arg(QLatin1String(table), st->value(0).toString());
            const QString qt = st->value(2).toString(), pu = st->value(4).toString(),
                          mnt = st->value(5).toString();
            const QString design = st->value(3).toString();
            ASSERT_FALSE(st->value(1).toString().isEmpty()) << where.toStdString();
            ASSERT_TRUE(quantity.match(qt).hasMatch()) << where.toStdString() << " Qt " << qt.toStdString();
            ASSERT_TRUE(money.match(pu).hasMatch() && money.match(mnt).hasMatch()) << where.toStdString();
            ASSERT_TRUE(!design.isEmpty() && design.size() <= 54) << design.toStdString();
            // In ten-thousandths: the product of two such values carries eight decimals; round to centimes.
            const qint64 exact = parseAmount(qt)->tenThousandths() * parseAmount(pu)->tenThousandths();
            const qint64 cents = (exact + 500'000) / 1'000'000;
            ASSERT_EQ(*parseAmount(mnt), cents * 100)
                << where.toStdString() << ' ' << qt.toStdString() << " x " << pu.toStdString() << " = "
                << mnt.toStdString();
            ++checked;
        }
        ASSERT_TRUE(st->ok());
    }
    EXPECT_GT(checked, kDocuments);
    EXPECT_GT(count("SELECT count(*) FROM DetFact WHERE Qt LIKE '%,%'"), 0);
    EXPECT_GT(count("SELECT count(*) FROM DetFact WHERE NB = ' '"), 0);
    EXPECT_EQ(
        count(
            "SELECT count(*) FROM Facture WHERE instr(AdrCli, char(10)) = 0 OR instr(AdrCli, char(13)) > 0"),
        0);
}

TEST_F(PylonDbDemo, NumbersFollowOneSequenceForSalesAndOneEachForQuotesAndOrders) {
    const char* const sales = "TypeFact IN ('Facture', 'BL', 'Facture M')";
    auto q = [](const char* sql, const char* where) {
        return demo_->scalar(QString::fromUtf8(sql).arg(QString::fromUtf8(where))).toLongLong();
    };
    // Each sequence is contiguous and without repeats.
    for (const char* kinds : {sales, "TypeFact = 'Devis'", "TypeFact = 'BC'"}) {
        SCOPED_TRACE(kinds);
        EXPECT_EQ(q("SELECT max(NumFact) - min(NumFact) + 1 FROM Facture WHERE %1", kinds),
                  q("SELECT count(DISTINCT NumFact) FROM Facture WHERE %1", kinds));
        EXPECT_EQ(q("SELECT count(*) FROM Facture WHERE %1", kinds),
                  q("SELECT count(DISTINCT NumFact) FROM Facture WHERE %1", kinds));
    }
    EXPECT_EQ(q("SELECT min(NumFact) FROM Facture WHERE %1", sales), 1);
    // Quotes start right after a power of ten well beyond the documents' count, orders after twice that.
    const qint64 quoteBase = q("SELECT min(NumFact) - 1 FROM Facture WHERE %1", "TypeFact = 'Devis'");
    EXPECT_GE(quoteBase, 10 * kDocuments);
    EXPECT_EQ(QString::number(quoteBase).count(QLatin1Char('0')), QString::number(quoteBase).size() - 1);
    EXPECT_EQ(q("SELECT min(NumFact) - 1 FROM Facture WHERE %1", "TypeFact = 'BC'"), 2 * quoteBase);
    EXPECT_LT(q("SELECT max(NumFact) FROM Facture WHERE %1", "TypeFact = 'Devis'"), 2 * quoteBase);

    // The program proposes "last of the kind + 1", so within each kind numbers grow in storage order, and
    // dates grow with the numbers.
    EXPECT_EQ(
        count(
            "SELECT count(*) FROM (SELECT NumFact, lag(NumFact) OVER (PARTITION BY TypeFact ORDER BY rowid) "
            "p FROM Facture) WHERE p >= NumFact"),
        0);
    EXPECT_EQ(count("SELECT count(*) FROM (SELECT DateFact, lag(DateFact) OVER (PARTITION BY "
                    "TypeFact IN ('Facture', 'BL', 'Facture M'), TypeFact = 'Devis' ORDER BY NumFact) p "
                    "FROM Facture) WHERE p > DateFact"),
              0);
    // Over two or three years.
    EXPECT_GT(count("SELECT julianday(max(DateFact)) - julianday(min(DateFact)) FROM Facture"), 2 * 365);
    EXPECT_LT(count("SELECT julianday(max(DateFact)) - julianday(min(DateFact)) FROM Facture"), 3 * 366);
}

} // namespace
} // namespace pylon
