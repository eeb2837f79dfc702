#include "figures/sales_ledger.h"

#include "domain/csv.h"
#include "figures/sales_summary.h"
#include "store/database.h"
#include "support/temp_db.h"

#include <gtest/gtest.h>

using namespace pylon;
using namespace pylon::test;

namespace {

// Dates as another tool may store them, written by the sqlite3 shell: the ledger counts in November
// exactly the documents the dashboard counts there, and no other.
TEST(SalesLedger, CountsTheDocumentsTheDashboardCountsWhateverTheFormOfTheirDate) {
    TempDb file;
    QString sql = QStringLiteral("INSERT INTO CliEC VALUES (1, 0, 0);");
    const struct {
        int number;
        const char* date; // SQL
        int day;          // in November; 0: counted in no November
    } documents[] = {
        {1, "'2026-11-02'", 2},
        {2, "' 2026-11-05'", 5},
        {3, "CAST('2026-11-06' AS BLOB)", 6},
        {4, "'2026-11-07 10:00:00'", 7},
        {5, "'2026-11-08T09:00'", 8},
        {6, "'2026-11-09' || char(10)", 9},
        {7, "char(9) || '2026-11-30'", 30},
        {8, "CAST(' 2026-11-10' AS BLOB)", 10},
        {9, "20261111", 0},
        {10, "'2026-11-5'", 0},
        {11, "'2026-11-12x'", 0},
        {12, "'le 2026-11-13'", 0},
        {13, "' 2026-10-31'", 0},
        {14, "CAST('2026-12-01' AS BLOB)", 0},
        {15, "NULL", 0},
        {16, "'2026-11-31'", 0},
    };
    int november = 0;
    for (const auto& d : documents) {
        sql += QStringLiteral("INSERT INTO Facture VALUES (%1, %2, 1, 'Alpha', '', 'Facture', 0, 0);"
                              "INSERT INTO DetFact VALUES (%1, ' ', '1', 'a', '%1,00', '%1,00');")
                   .arg(d.number)
                   .arg(QString::fromUtf8(d.date));
        november += d.day ? d.number : 0;
    }
    QString said;
    ASSERT_EQ(runSqliteShell(file.path(), sql, &said), 0) << said.toStdString();

    for (const auto mode : {Database::Mode::ReadOnly, Database::Mode::ReadWrite}) {
        SCOPED_TRACE(mode == Database::Mode::ReadOnly ? "the totals noted, not computed" : "the totals kept");
        Database db;
        ASSERT_TRUE(db.open(file.path(), mode));
        const auto summary = salesSummary(db, QDate(2026, 11, 20));
        ASSERT_TRUE(summary);
        const MonthSales& month = summary->months.back();
        QString error;
        const auto ledger = readSalesLedger(db, QDate(2026, 11, 1), QDate(2026, 11, 30), &error);
        ASSERT_TRUE(ledger) << error.toStdString();
        QStringList listed;
        for (const LedgerEntry& e : ledger->entries)
            listed << QStringLiteral("%1 %2").arg(e.number).arg(e.date.toString(Qt::ISODate));
        EXPECT_EQ(listed.join(u','), QStringLiteral("1 2026-11-02,2 2026-11-05,3 2026-11-06,4 2026-11-07,"
                                                    "5 2026-11-08,6 2026-11-09,8 2026-11-10,7 2026-11-30"));
        EXPECT_EQ(month.documents, int(ledger->entries.size()));
        EXPECT_EQ(month.ht, *ledger->documents.ht);
        EXPECT_EQ(month.ht, Amount(qint64(november) * 10000));
    }
}

// A text of the file that a spreadsheet would run as a formula is written as a text; the ledger's own
// figures, a negative net among them, and a client number are written as they are.
TEST(SalesLedger, WritesNoFormulaFromTheFileIntoTheSpreadsheet) {
    TempDb file;
    const struct {
        const char* client; // SQL
        const char* name;   // SQL
        const char* clientCell;
        const char* nameCell;
    } rows[] = {
        {"1", "'=HYPERLINK(\"http://exemple.ma\", \"Voir\")'", "1",
         "'=HYPERLINK(\"http://exemple.ma\", \"Voir\")"},
        {"-5", "'+212 5 22 00 00 00'", "-5", "'+212 5 22 00 00 00"},
        {"'-6'", "'-Alami'", "-6", "'-Alami"},
        {"'=1+1'", "'@SUM(A1:A9)'", "'=1+1", "'@SUM(A1:A9)"},
        {"'+7 A'", "char(9) || 'Tab'", "'+7 A", "'\tTab"},
        {"8", "char(13) || 'Retour'", "8", "'\rRetour"},
        {"9", "'Alami = Fils - Cie'", "9", "Alami = Fils - Cie"},
    };
    QString sql;
    int number = 0;
    for (const auto& r : rows)
        sql += QStringLiteral("INSERT INTO CliEC VALUES (%1, 0, 0);"
                              "INSERT INTO Facture VALUES (%2, '2026-11-05', %1, %3, '', 'Facture', 1, 0);"
                              "INSERT INTO DetFact VALUES (%2, ' ', '1', 'a', '10,00', '10,00');"
                              "INSERT INTO AVOIR VALUES (%2, ' ', '1', 'a', '22,50', '22,50');")
                   .arg(QString::fromUtf8(r.client))
                   .arg(++number)
                   .arg(QString::fromUtf8(r.name));
    QString said;
    ASSERT_EQ(runSqliteShell(file.path(), sql, &said), 0) << said.toStdString();
    Database db;
    ASSERT_TRUE(db.open(file.path(), Database::Mode::ReadOnly));
    QString error;
    const auto ledger = readSalesLedger(db, QDate(2026, 11, 1), QDate(2026, 11, 30), &error);
    ASSERT_TRUE(ledger) << error.toStdString();
    std::vector<csv::Record> records;
    ASSERT_TRUE(csv::parse(salesLedgerCsv(*ledger).mid(3), records, &error, ';')) << error.toStdString();
    ASSERT_EQ(records.size(), std::size(rows) + 2);
    for (size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(i);
        const csv::Record& r = records[i + 1];
        ASSERT_EQ(r.size(), 15u);
        EXPECT_EQ(r[2].text, QByteArray(rows[i].clientCell));
        EXPECT_EQ(r[3].text, QByteArray(rows[i].nameCell));
        EXPECT_EQ(r[12].text, QByteArray("-12,50"));
    }
    EXPECT_EQ(records.back()[12].text, QByteArray("-87,50"));
}

} // namespace
