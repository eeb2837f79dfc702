#include "store/database.h"
#include "store/schema.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace pylon;

// A file written by another tool has the four tables and nothing else: opening it adds our indexes and the
// trigger, and keeps the data.
TEST(Schema, AFileWithoutOurAdditionsGetsThemSilently) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("VelD"));
    {
        Database raw;
        ASSERT_TRUE(raw.open(path, Database::Mode::Create));
        ASSERT_TRUE(raw.exec(schema::createTablesSql()));
        ASSERT_TRUE(raw.exec(QStringLiteral("INSERT INTO Facture (NumFact, TypeFact) VALUES (1, 'Facture');"
                                            "INSERT INTO DetFact (NumFact, NB) VALUES (1, 'x');")));
    }
    Database db;
    ASSERT_TRUE(db.open(path));
    EXPECT_EQ(
        db.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name LIKE 'pylon_%'")).toInt(), 0);
    ASSERT_TRUE(schema::ensureAdditions(db));
    EXPECT_EQ(
        db.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name LIKE 'pylon_%'")).toInt(),
        26);
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT count(*) FROM DetFact")).toInt(), 1);
    // Saved work goes through the write-ahead log with full syncs.
    EXPECT_EQ(db.scalar(QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("wal"));
    EXPECT_EQ(db.scalar(QStringLiteral("PRAGMA synchronous")).toInt(), 2);
    // Deleting the header takes its lines with it.
    ASSERT_TRUE(db.exec(QStringLiteral("DELETE FROM Facture WHERE NumFact = 1")));
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT count(*) FROM DetFact")).toInt(), 0);
}

TEST(Schema, AFileWithoutTheTablesIsNotOurs) {
    QTemporaryDir dir;
    Database db;
    ASSERT_TRUE(db.open(dir.filePath(QStringLiteral("other")), Database::Mode::Create));
    ASSERT_TRUE(db.exec(QStringLiteral("CREATE TABLE Facture(x)")));
    EXPECT_FALSE(schema::ensureAdditions(db));
    EXPECT_FALSE(schema::check(db).isEmpty());
}

TEST(Schema, MonthReadsStoredDates) {
    Database db;
    QTemporaryDir dir;
    ASSERT_TRUE(db.open(dir.filePath(QStringLiteral("m")), Database::Mode::Create));
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT Month('2004-01-31')")).toInt(), 1);
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT Month('2026-12-07')")).toInt(), 12);
    EXPECT_TRUE(db.scalar(QStringLiteral("SELECT Month('31/01/2004')")).isNull());
    EXPECT_TRUE(db.scalar(QStringLiteral("SELECT Month(NULL)")).isNull());
}

// A file the earlier program opened has the index on the client alone and lacks the one on kind, client
// and number: the next opening puts that right, and a client's documents of a kind are then searched
// through it rather than by walking the kind.
TEST(Schema, AFileOfTheEarlierProgramGetsTheIndexOnKindAndClient) {
    QTemporaryDir dir;
    Database db;
    ASSERT_TRUE(db.open(dir.filePath(QStringLiteral("VelD")), Database::Mode::Create));
    ASSERT_TRUE(schema::createTables(db));
    ASSERT_TRUE(db.exec(QStringLiteral("DROP INDEX pylon_facture_kind_client;"
                                       "CREATE INDEX pylon_facture_numcli ON Facture(NumCli);")));
    EXPECT_FALSE(schema::hasAdditions(db));
    ASSERT_TRUE(schema::ensureAdditions(db));
    EXPECT_TRUE(schema::hasAdditions(db));
    EXPECT_EQ(
        db.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = 'pylon_facture_numcli'"))
            .toInt(),
        0);
    auto plan = db.prepare(QStringLiteral("EXPLAIN QUERY PLAN SELECT NumFact FROM Facture WHERE TypeFact = "
                                          "'Facture' AND NumCli = 5 ORDER BY NumFact LIMIT 1"));
    QString steps;
    while (plan && plan->step())
        steps += plan->value(3).toString();
    EXPECT_TRUE(steps.contains(QStringLiteral("pylon_facture_kind_client"))) << steps.toStdString();
}

// Month() of the forms a date is stored in: the month, or none (0) for what is not a date.
TEST(Schema, MonthOfStoredForms) {
    Database db;
    QTemporaryDir dir;
    ASSERT_TRUE(db.open(dir.filePath(QStringLiteral("m")), Database::Mode::Create));
    const std::pair<const char*, int> cases[] = {{"2004-03-31", 3},
                                                 {"2004-11-30 00:00:00", 11},
                                                 {"2004-07-01T10:00:00", 7},
                                                 {"2004-02-30", 0},
                                                 {"2004-13-01", 0},
                                                 {"20a4-01-01", 0},
                                                 {"2004-1-5", 0},
                                                 {"", 0}};
    for (const auto& [stored, month] : cases)
        EXPECT_EQ(
            db.scalar(QStringLiteral("SELECT coalesce(Month(?), 0)"), {QString::fromLatin1(stored)}).toInt(),
            month)
            << stored;
}
