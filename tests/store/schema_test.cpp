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
