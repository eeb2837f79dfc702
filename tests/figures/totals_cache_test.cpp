#include "figures/document_search.h"
#include "store/database.h"
#include "store/schema.h"
#include "store/totals_cache.h"
#include "support/documents.h"
#include "support/temp_db.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

using namespace pylon;
using namespace pylon::test;

namespace {

// What the file keeps for a document, amounts as the screen writes them ("-" for none), or "gone".
QString kept(Database& db, qlonglong number) {
    auto st = db.prepare(QStringLiteral("SELECT DateFact, Sales, HT, TVA, TTC, Credit, CreditHT, CreditTVA "
                                        "FROM pylon_totals WHERE NumFact = ?"));
    if (!st || !st->bind(0, number)) return QStringLiteral("unreadable");
    if (!st->step()) return QStringLiteral("gone");
    QStringList out{st->value(0).toString(), st->value(1).toString()};
    for (int c = 2; c < 8; ++c)
        out << (c == 5                  ? st->value(c).toString()
                : st->value(c).isNull() ? QStringLiteral("-")
                                        : formatAmount(Amount(st->value(c).toLongLong())));
    return out.join(u' ');
}

// Another program writes the file; afterwards, once the program has brought its totals up to date, each
// document it touched has the totals the editor would show it with.
struct Write {
    const char* name;
    const char* sql;
    std::vector<std::pair<qlonglong, const char*>> expected; // date sale HT TVA TTC credit creditHT creditTVA
};

class KeptTotals : public ::testing::TestWithParam<Write> {
  protected:
    void SetUp() override {
        PlantedDocument invoice;
        invoice.name = QStringLiteral("Alami SARL");
        invoice.lines = {{"R1", "1", "Ordinateur", "1000,00", "1000,00"},
                         {"R2", "2", "Câble", "14,40", "28,80"}};
        ASSERT_TRUE(plant(file, invoice));
        PlantedDocument quote;
        quote.number = 2;
        quote.kind = QStringLiteral("Devis");
        quote.date = QStringLiteral("2026-11-06");
        quote.client = 8;
        quote.name = QStringLiteral("Bennani");
        quote.lines = {{" ", "1", "Serveur", "100,00", "100,00"}};
        ASSERT_TRUE(plant(file, quote));
    }
    TempDb file;
};

TEST_P(KeptTotals, FollowEveryWriteOfAnotherProgram) {
    Database db;
    ASSERT_TRUE(db.open(file.path()));
    ASSERT_TRUE(totals_cache::refresh(db));
    ASSERT_EQ(kept(db, 1), "2026-11-05 1 1028,80 205,76 1234,56 0 0,00 0,00");
    ASSERT_TRUE(file.exec(QString::fromUtf8(GetParam().sql)));
    EXPECT_EQ(schema::check(db), QStringList()) << "noted, not yet computed, is sound";
    ASSERT_TRUE(totals_cache::refresh(db));
    EXPECT_FALSE(totals_cache::hasStale(db));
    for (const auto& [number, expected] : GetParam().expected)
        EXPECT_EQ(kept(db, number), QString::fromUtf8(expected)) << "document " << number;
    EXPECT_EQ(schema::check(db), QStringList());
}

INSTANTIATE_TEST_SUITE_P(
    Writes, KeptTotals,
    ::testing::Values(Write{"LineAdded",
                            "INSERT INTO DetFact VALUES (1, ' ', '1', 'Souris', '1,20', '1,20')",
                            {{1, "2026-11-05 1 1030,00 206,00 1236,00 0 0,00 0,00"}}},
                      Write{"AmountChanged",
                            "UPDATE DetFact SET Mnt = '2000,00' WHERE Mnt = '1000,00'",
                            {{1, "2026-11-05 1 2028,80 405,76 2434,56 0 0,00 0,00"}}},
                      Write{"LineMovedToAnotherDocument",
                            "UPDATE DetFact SET NumFact = 2 WHERE Mnt = '28,80'",
                            {{1, "2026-11-05 1 1000,00 200,00 1200,00 0 0,00 0,00"},
                             {2, "2026-11-06 0 128,80 25,76 154,56 0 0,00 0,00"}}},
                      Write{"LineDeleted",
                            "DELETE FROM DetFact WHERE Mnt = '28,80'",
                            {{1, "2026-11-05 1 1000,00 200,00 1200,00 0 0,00 0,00"}}},
                      Write{"TextThatIsNoAmount",
                            "UPDATE DetFact SET Mnt = 'abc' WHERE Mnt = '28,80'",
                            {{1, "2026-11-05 1 1000,00 200,00 1200,00 0 0,00 0,00"}}},
                      Write{"TotalBeyondTheRange",
                            "UPDATE DetFact SET Mnt = '500000000000000' WHERE NumFact = 1",
                            {{1, "2026-11-05 1 - - - 0 0,00 0,00"}}},
                      Write{"CreditNoteAttached",
                            "UPDATE Facture SET Avoir = 1 WHERE NumFact = 1;"
                            "INSERT INTO AVOIR VALUES (1, ' ', '1', 'Retour', '100,00', '100,00')",
                            {{1, "2026-11-05 1 1028,80 205,76 1234,56 1 100,00 20,00"}}},
                      Write{"Cancelled",
                            "UPDATE Facture SET \"Annulée\" = 1 WHERE NumFact = 1",
                            {{1, "2026-11-05 0 1028,80 205,76 1234,56 0 0,00 0,00"}}},
                      Write{"QuoteMadeAnInvoice",
                            "UPDATE Facture SET TypeFact = 'Facture' WHERE NumFact = 2",
                            {{2, "2026-11-06 1 100,00 20,00 120,00 0 0,00 0,00"}}},
                      Write{"DateChanged",
                            "UPDATE Facture SET DateFact = '2026-10-31' WHERE NumFact = 1",
                            {{1, "2026-10-31 1 1028,80 205,76 1234,56 0 0,00 0,00"}}},
                      Write{"DocumentDeleted",
                            "DELETE FROM Facture WHERE NumFact = 1; DELETE FROM CliEC WHERE NumCli = 7",
                            {{1, "gone"}}},
                      Write{"DocumentRenumbered",
                            "UPDATE Facture SET NumFact = 9 WHERE NumFact = 1; UPDATE DetFact SET NumFact = "
                            "9 WHERE NumFact = 1",
                            {{1, "gone"}, {9, "2026-11-05 1 1028,80 205,76 1234,56 0 0,00 0,00"}}}),
    [](const auto& info) { return std::string(info.param.name); });

// A file that cannot be written keeps its notes; what is read from it is computed for the noted documents.
TEST_F(KeptTotals, AReadOnlyFileIsReadRightWithoutItsTotalsBroughtUpToDate) {
    ASSERT_TRUE(
        file.exec(QStringLiteral("INSERT INTO DetFact VALUES (1, ' ', '1', 'Souris', '1,20', '1,20')")));
    Database db;
    ASSERT_TRUE(db.open(file.path(), Database::Mode::ReadOnly));
    EXPECT_FALSE(totals_cache::refresh(db));
    DocumentSearch search;
    SearchCriteria c;
    c.client = QStringLiteral("alami");
    c.minTotal = parseAmount(QStringLiteral("1236"));
    const auto found = search.find(db, c);
    ASSERT_TRUE(found);
    ASSERT_EQ(found->documents.size(), 1u);
    EXPECT_EQ(found->documents[0].total, parseAmount(QStringLiteral("1236,00")));
    EXPECT_TRUE(totals_cache::hasStale(db));
}

// Kept totals that disagree with the documents are a broken file; so is a set missing a trigger, which the
// program makes again whole at the next opening.
TEST_F(KeptTotals, CheckTellsTotalsThatAreNotTheDocumentsAndOpeningMakesThemAgain) {
    Database db;
    ASSERT_TRUE(db.open(file.path()));
    ASSERT_TRUE(totals_cache::refresh(db));
    ASSERT_TRUE(file.exec(QStringLiteral("UPDATE pylon_totals SET TTC = TTC + 100 WHERE NumFact = 1")));
    EXPECT_EQ(schema::check(db), QStringList{"the totals kept for document 1 are not its own"});
    ASSERT_TRUE(db.exec(QStringLiteral("DROP TRIGGER pylon_totals_lines_changed")));
    EXPECT_EQ(schema::check(db),
              QStringList{"the kept totals lack some of their tables or triggers (10 of 11)"});
    ASSERT_TRUE(schema::ensureAdditions(db));
    EXPECT_EQ(schema::check(db), QStringList());
    EXPECT_EQ(kept(db, 1), "2026-11-05 1 1028,80 205,76 1234,56 0 0,00 0,00");
}

// Another program's statement imposes its conflict clause on the triggers it fires: each write, run twice
// on one document by the sqlite3 shell, succeeds whole, and the kept totals are then the documents'.
struct ShellWrite {
    const char* name;
    const char* sql; // %1: the conflict clause, "OR ABORT" and the like, or nothing
};

class KeptTotalsUnderAnotherProgram : public ::testing::TestWithParam<std::tuple<ShellWrite, const char*>> {
  public:
    static std::string name(const ::testing::TestParamInfo<ParamType>& info) {
        const QString clause =
            QString::fromUtf8(std::get<1>(info.param)).remove(QStringLiteral("OR ")).toLower();
        return std::string(std::get<0>(info.param).name) + (clause.isEmpty() ? "" : "_") +
               clause.toStdString();
    }

  protected:
    void SetUp() override {
        PlantedDocument invoice;
        invoice.name = QStringLiteral("Alami SARL");
        invoice.lines = {{"R1", "1", "Ordinateur", "1000,00", "1000,00"},
                         {"R2", "2", "Câble", "14,40", "28,80"}};
        invoice.creditLines = {{"A1", "1", "Retour", "10,00", "10,00"},
                               {"A2", "1", "Retour", "5,00", "5,00"}};
        ASSERT_TRUE(plant(file, invoice));
        Database db;
        ASSERT_TRUE(db.open(file.path()));
        ASSERT_TRUE(schema::ensureAdditions(db) && totals_cache::refresh(db));
    }
    TempDb file;
};

TEST_P(KeptTotalsUnderAnotherProgram, EveryConflictClauseWritesWhole) {
    const auto& [write, clause] = GetParam();
    const QString once = QString::fromUtf8(write.sql).arg(QString::fromUtf8(clause));
    QString said;
    ASSERT_EQ(runSqliteShell(file.path(), once + QLatin1Char(';') + once + QLatin1Char(';'), &said), 0)
        << said.toStdString();
    EXPECT_EQ(said, QString());
    Database db;
    ASSERT_TRUE(db.open(file.path()));
    EXPECT_EQ(totals_cache::check(db), QStringList()) << "noted, not yet computed, is sound";
    ASSERT_TRUE(totals_cache::refresh(db));
    EXPECT_FALSE(totals_cache::hasStale(db));
    EXPECT_EQ(totals_cache::check(db), QStringList());
}

INSTANTIATE_TEST_SUITE_P(
    Writes, KeptTotalsUnderAnotherProgram,
    ::testing::Combine(
        ::testing::Values(
            ShellWrite{"LineAdded", "INSERT %1 INTO DetFact VALUES (1, ' ', '1', 'Souris', '1,20', '1,20')"},
            ShellWrite{"LinesChanged", "UPDATE %1 DetFact SET Mnt = '2,00' WHERE NumFact = 1"},
            ShellWrite{"CreditLineAdded",
                       "INSERT %1 INTO AVOIR VALUES (1, ' ', '1', 'Retour', '1,00', '1,00')"},
            ShellWrite{"CreditLinesChanged", "UPDATE %1 AVOIR SET Mnt = '3,00' WHERE NumFact = 1"},
            ShellWrite{
                "DocumentAdded",
                "DELETE FROM Facture WHERE NumFact = 5; INSERT %1 INTO Facture(NumFact, DateFact, NumCli, "
                "TypeFact) VALUES (5, '2026-11-07', 7, 'Facture'); INSERT %1 INTO DetFact VALUES "
                "(5, ' ', '1', 'Souris', '1,20', '1,20')"},
            ShellWrite{"DocumentChanged",
                       "UPDATE %1 Facture SET \"Annulée\" = 1 - \"Annulée\" WHERE NumFact = 1"},
            ShellWrite{"NoNumber",
                       "INSERT %1 INTO DetFact VALUES (NULL, ' ', '1', 'Souris', '1,20', '1,20')"},
            ShellWrite{"ATextForNumber",
                       "INSERT %1 INTO DetFact VALUES ('un', ' ', '1', 'Souris', '1,20', '1,20')"},
            ShellWrite{"ABlobForNumber",
                       "INSERT %1 INTO DetFact VALUES (X'01', ' ', '1', 'Souris', '1,20', '1,20')"}),
        ::testing::Values("", "OR ABORT", "OR FAIL", "OR ROLLBACK", "OR REPLACE", "OR IGNORE")),
    KeptTotalsUnderAnotherProgram::name);

// A deletion takes no conflict clause.
INSTANTIATE_TEST_SUITE_P(
    Deletions, KeptTotalsUnderAnotherProgram,
    ::testing::Combine(
        ::testing::Values(
            ShellWrite{
                "LineRemoved",
                "DELETE FROM DetFact WHERE rowid = (SELECT min(rowid) FROM DetFact WHERE NumFact = 1)"},
            ShellWrite{"CreditLineRemoved",
                       "DELETE FROM AVOIR WHERE rowid = (SELECT min(rowid) FROM AVOIR WHERE NumFact = 1)"},
            ShellWrite{"DocumentRemoved", "DELETE FROM Facture WHERE NumFact = 1"}),
        ::testing::Values("")),
    KeptTotalsUnderAnotherProgram::name);
// A file in users' hands carries the triggers of an earlier version, which noted with INSERT OR IGNORE. A
// writable opening makes the triggers again and no more: the kept rows (one of them tampered with here, to
// see it) stay as they are. A read-only opening leaves them; check tells them.
TEST_F(KeptTotals, OpeningMakesTheTriggersOfAnEarlierVersionAgainWithoutComputingTheRows) {
    {
        Database db;
        ASSERT_TRUE(db.open(file.path()));
        ASSERT_TRUE(totals_cache::refresh(db));
    }
    const QRegularExpression note(QStringLiteral(
        "INSERT INTO pylon_totals_stale\\(NumFact\\) SELECT (\\w+)\\.NumFact WHERE NOT EXISTS \\([^)]*\\)"));
    QString earlier = QStringLiteral("UPDATE pylon_totals SET HT = HT + 1 WHERE NumFact = 2;");
    Database current;
    ASSERT_TRUE(current.open(file.path(), Database::Mode::ReadOnly));
    auto st = current.prepare(QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type = 'trigger' AND "
                                             "name LIKE 'pylon_totals_%'"));
    ASSERT_TRUE(st);
    int triggers = 0;
    while (st->step()) {
        QString sql = st->value(1).toString();
        ASSERT_TRUE(sql.contains(note)) << sql.toStdString();
        earlier +=
            QStringLiteral("DROP TRIGGER %1; %2;")
                .arg(
                    st->value(0).toString(),
                    sql.replace(
                        note, QStringLiteral(
                                  "INSERT OR IGNORE INTO pylon_totals_stale(NumFact) VALUES (\\1.NumFact)")));
        ++triggers;
    }
    current.close();
    ASSERT_EQ(triggers, 9);
    ASSERT_EQ(runSqliteShell(file.path(), earlier), 0);
    const QString insertTwice =
        QStringLiteral("INSERT OR ABORT INTO DetFact VALUES (1, ' ', '1', 'Souris', '1,20', '1,20');"
                       "INSERT OR ABORT INTO DetFact VALUES (1, ' ', '1', 'Souris', '1,20', '1,20');");
    QString said;
    ASSERT_NE(runSqliteShell(file.path(), insertTwice, &said), 0) << "the fault the earlier triggers had";
    EXPECT_TRUE(said.contains(QStringLiteral("UNIQUE constraint failed: pylon_totals_stale.NumFact")))
        << said.toStdString();
    const QStringList tampered{QStringLiteral("the totals kept for document 2 are not its own")};
    {
        Database readOnly;
        ASSERT_TRUE(readOnly.open(file.path(), Database::Mode::ReadOnly));
        ASSERT_TRUE(schema::ensureAdditions(readOnly));
        EXPECT_EQ(
            totals_cache::check(readOnly),
            QStringList{QStringLiteral("9 of the kept totals' triggers are of an earlier version, which "
                                       "another program's conflict clause can make fail (opening the file "
                                       "writable makes them again)")} +
                tampered);
    }
    {
        Database db;
        ASSERT_TRUE(db.open(file.path()));
        ASSERT_TRUE(schema::ensureAdditions(db));
        EXPECT_EQ(totals_cache::check(db), tampered) << "the rows are not computed again";
    }
    ASSERT_EQ(runSqliteShell(file.path(), insertTwice, &said), 0) << said.toStdString();
    ASSERT_TRUE(file.exec(QStringLiteral("UPDATE pylon_totals SET HT = HT - 1 WHERE NumFact = 2")));
    Database db;
    ASSERT_TRUE(db.open(file.path()));
    ASSERT_TRUE(totals_cache::refresh(db));
    EXPECT_EQ(totals_cache::check(db), QStringList());
    EXPECT_EQ(kept(db, 1), "2026-11-05 1 1032,40 206,48 1238,88 0 0,00 0,00");
}

} // namespace
