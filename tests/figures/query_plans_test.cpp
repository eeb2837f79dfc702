// The statements the program runs on the big tables are written so that SQLite reads them through the
// index they were written for, whatever the file says about itself: on a file as our demo writer makes it
// and on the same file after ANALYZE, with statistics like those of a million documents. Every statement
// the store prepares during a round of the program's reads is recorded, then its plan is asked for.
#include "domain/kinds.h"
#include "figures/document_search.h"
#include "figures/sales_ledger.h"
#include "figures/sales_summary.h"
#include "lists/listed_documents.h"
#include "lists/listed_parties.h"
#include "store/database.h"
#include "store/recordset.h"
#include "store/schema.h"
#include "store/totals_cache.h"
#include "support/temp_db.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <sqlite3.h>

using namespace pylon;

namespace {

// What ANALYZE wrote on a demo file of a million documents (the program's indexes included).
const char* const kMillionStatistics = "INSERT INTO sqlite_stat1 VALUES "
                                       "('pylon_totals', 'pylon_totals_sales', '516227 550 550 2 1 1 1 1 1'),"
                                       "('pylon_totals', 'pylon_totals_ttc', '1000000 3'),"
                                       "('CliEC', 'pylon_cliec_numcli', '6300 1'),"
                                       "('AVOIR', 'pylon_avoir_numfact', '60438 3'),"
                                       "('DetFact', 'pylon_detfact_numfact', '5416860 6'),"
                                       "('Facture', 'pylon_facture_kind_date', '1000000 200000 264 1'),"
                                       "('Facture', 'pylon_facture_date', '1000000 1065 1'),"
                                       "('Facture', 'pylon_facture_name', '1000000 474 1'),"
                                       "('Facture', 'pylon_facture_avoir', '1000000 500000'),"
                                       "('Facture', 'pylon_facture_party', '1000000 159 159 159'),"
                                       "('Facture', 'pylon_facture_kind_client', '1000000 200000 61 1'),"
                                       "('Facture', 'pylon_facture_kind', '1000000 200000'),"
                                       "('Facture', 'pylon_facture_type', '1000000 200000 1'),"
                                       "('Facture', 'pylon_facture_numfact', '1000000 1');";

// The statements recorded on a connection while tracing, word for word.
int record(unsigned type, void* seen, void*, void* text) {
    if (type != SQLITE_TRACE_STMT) return 0;
    const QString sql = QString::fromUtf8(static_cast<const char*>(text)).trimmed();
    // Trigger programs come as comments: their statements are written below, in the triggers.
    if (!sql.startsWith(QLatin1String("--"))) static_cast<std::set<QString>*>(seen)->insert(sql);
    return 0;
}

// The plan, one line per step.
QStringList planOf(Database& db, const QString& sql) {
    QStringList lines;
    auto st = db.prepare(QStringLiteral("EXPLAIN QUERY PLAN ") + sql);
    if (!st) return {QStringLiteral("cannot explain: ") + db.lastError()};
    while (st->step())
        lines << st->value(3).toString();
    return lines;
}

// Any step that reads a big table, or one of its indexes, from end to end; and the sorts.
const QRegularExpression kWholeTable(QStringLiteral(R"(^SCAN (Facture|DetFact|AVOIR|pylon_totals|f|g|t)\b)"));
const QRegularExpression kSort(QStringLiteral(R"(USE TEMP B-TREE FOR (ORDER BY|RIGHT PART OF ORDER BY))"));

// The reads of a working day, through the store as the windows call it.
void workingDay(Database& db) {
    for (const DocKind kind : {DocKind::Invoice, DocKind::Quote, DocKind::CreditNote, DocKind::MonthEnd}) {
        auto rs = RecordSet::open(db, kindInfo(kind).viewSql);
        ASSERT_TRUE(rs);
        // "|<" ">" ">" "<" ">|", a number and a client looked up, stepping over a document's lines.
        rs->MoveLast();
        rs->FindFirst(QStringLiteral("NumFact<>0"));
        rs->FindNext(QStringLiteral("NumFact<>1"));
        rs->FindNext(QStringLiteral("NumFact<>2"));
        rs->FindPrevious(QStringLiteral("NumFact<>3"));
        rs->MoveFirst();
        rs->FindLast(QStringLiteral("NumFact<>4"));
        rs->FindPrevious(QStringLiteral("NumFact<>5"));
        rs->FindFirst(QStringLiteral("NumFact=150"));
        rs->FindFirst(QStringLiteral("NumCli=4010"));
        rs->MoveNext();
        rs->MovePrevious();
        rs->MovePrevious();
    }
    // The tables the editor writes through, searched by number as the saves and deletions do.
    for (const char* table : {"Facture", "DetFact", "AVOIR"}) {
        auto rs = RecordSet::open(db, QString::fromLatin1(table));
        ASSERT_TRUE(rs);
        rs->FindFirst(QStringLiteral("NumFact=150"));
        rs->FindNext(QStringLiteral("NumFact=150"));
        rs->MoveNext();
        rs->MovePrevious();
    }
    if (auto cli = RecordSet::open(db, QStringLiteral("CliEC")))
        cli->FindFirst(QStringLiteral("NumCli=4010"));
    // The statistics.
    for (const char* condition : {"TypeFact = 'Facture'", "TypeFact = 'Facture M'", "Avoir = True"})
        if (auto rs = RecordSet::open(db, QStringLiteral("Select Facture.* From Facture WHERE Facture.") +
                                              QString::fromLatin1(condition) +
                                              QStringLiteral(" ORDER BY Facture.NumFact ASC")))
            rs->RecordCount();
    countParties(db, false);
    listParties(db, true);
    // A client's documents, looked for when one of them is deleted.
    if (auto rs =
            RecordSet::open(db, QStringLiteral("Select CliEC.*,Facture.* From CliEC INNER JOIN Facture on "
                                               "CliEC.NumCli = Facture.NumCli Where CliEC.NumCli = 4010")))
        rs->MoveFirst();
    // The month-end gathering: the record set and the one pass over its lines.
    const QString monthFrom = QStringLiteral(
        " FROM Facture INNER JOIN DetFact ON Facture.NumFact = DetFact.NumFact WHERE (Facture.TypeFact = "
        "'Facture' Or Facture.TypeFact = 'BL') AND Facture.NumCli = 4010 AND Month(Facture.DateFact) = 7");
    if (auto rs = RecordSet::open(db, QStringLiteral("SELECT Facture.*, DetFact.*") + monthFrom))
        rs->FieldCount();
    db.scalar(QStringLiteral("SELECT count(*) FROM (SELECT DetFact.NB") + monthFrom +
              QStringLiteral(" ORDER BY Facture.rowid, DetFact.rowid)"));
    // The lists, their keys and a page of rows.
    for (const auto& choice :
         {DocumentChoice{}, DocumentChoice{DocumentChoice::By::Type, QStringLiteral("Facture")},
          DocumentChoice{DocumentChoice::By::CreditNote, {}}})
        if (auto list = ListedDocuments::read(db, choice)) {
            list->header(list->count() / 2);
            list->release();
        }
    // The search, by each of its ways in.
    DocumentSearch search;
    SearchCriteria c;
    search.find(db, c);
    c.client = QStringLiteral("a");
    search.find(db, c);
    c.client = QStringLiteral("4010");
    search.find(db, c);
    c.kind = DocKind::Invoice;
    c.from = QDate(2005, 7, 1);
    c.to = QDate(2005, 7, 31);
    search.find(db, c);
    c = {};
    c.minTotal = parseAmount(QStringLiteral("1000"));
    c.maxTotal = parseAmount(QStringLiteral("1001"));
    search.find(db, c);
    // The dashboard and the sales ledger.
    salesSummary(db, QDate(2006, 6, 15));
    QString error;
    readSalesLedger(db, QDate(2005, 1, 1), QDate(2005, 12, 31), &error);
    // A line written by another program, then the kept totals brought up to date.
    db.exec(QStringLiteral("UPDATE DetFact SET Mnt = Mnt WHERE rowid = 5"));
    totals_cache::refresh(db);
}

struct Plans {
    std::map<QString, QStringList> bySql;
};

// The demo file, as it is or with a million documents' statistics, read through a day's work.
Plans plansOn(const QString& demo, bool withStatistics) {
    const QString path = demo + (withStatistics ? QStringLiteral(".analyzed") : QStringLiteral(".plain"));
    QFile::remove(path);
    EXPECT_TRUE(QFile::copy(demo, path));
    Database db;
    EXPECT_TRUE(db.open(path));
    EXPECT_TRUE(schema::ensureAdditions(db));
    EXPECT_TRUE(totals_cache::ensure(db));
    if (withStatistics) {
        EXPECT_TRUE(db.exec(QStringLiteral("ANALYZE; DELETE FROM sqlite_stat1;") +
                            QString::fromLatin1(kMillionStatistics) +
                            QStringLiteral("ANALYZE sqlite_schema;")));
    }
    std::set<QString> seen;
    sqlite3_trace_v2(db.handle(), SQLITE_TRACE_STMT, record, &seen);
    workingDay(db);
    sqlite3_trace_v2(db.handle(), 0, nullptr, nullptr);
    Plans out;
    for (const QString& sql : seen)
        out.bySql[sql] = planOf(db, sql);
    return out;
}

// Where a sort is bounded by what the statement looks up first: the search's reads of the documents of
// the few clients or totals its counts found, and the documents of one client looked for at a deletion.
bool boundedSort(const QString& sql) {
    return sql.contains(QLatin1String("json_each")) || sql.contains(QLatin1String("CliEC.NumCli = 4010")) ||
           (sql.contains(QLatin1String("+Facture.Avoir")) && sql.contains(QLatin1String("\"NumCli\" = ?")));
}

// The credit notes are walked in number order through the index on numbers until one carries a credit
// note (no index holds the flag with the number); the walk is the same with or without statistics.
bool walkInOrder(const QString& sql, const QString& step) {
    return sql.contains(QLatin1String("+Facture.Avoir")) &&
           step.startsWith(QLatin1String("SCAN Facture USING INDEX pylon_facture_numfact"));
}

// Statements whose plan is written elsewhere and is still left to SQLite: the sales ledger's headers of
// the span, read by kind and date without statistics and by date alone with them.
bool leftToSqlite(const QString& sql) {
    return sql.startsWith(QLatin1String("SELECT NumFact, DateFact, NumCli, NomCli, TypeFact, ")) &&
           sql.endsWith(QLatin1String("ORDER BY DateFact, NumFact"));
}

// The plan as it matters: which tables, in which order, searched or walked, by which index, sorted or
// not. Which covering index answers a count of one kind is left to SQLite: any reads the same entries.
QString shape(const QStringList& plan) {
    static const QRegularExpression covering(QStringLiteral(R"(COVERING INDEX \w+)"));
    QString out = plan.join(QStringLiteral(" / "));
    return out.replace(covering, QStringLiteral("COVERING INDEX"));
}

TEST(QueryPlans, HoldWithAndWithoutStatistics) {
    test::TempDb demo(300);
    const Plans plain = plansOn(demo.path(), false);
    const Plans analyzed = plansOn(demo.path(), true);
    EXPECT_GT(plain.bySql.size(), 40u);
    for (const Plans* p : {&plain, &analyzed}) {
        const char* which = p == &plain ? "without statistics" : "with statistics";
        for (const auto& [sql, plan] : p->bySql) {
            // Read for its column names only.
            if (sql.endsWith(QLatin1String("LIMIT 0"))) continue;
            const bool firstOnly = sql.contains(QRegularExpression(QStringLiteral(R"(\bLIMIT (1|\?)$)")));
            // The search walks a chosen index (INDEXED BY) newest first: its plans are fixed by the
            // program, not left to SQLite.
            const bool chosenWalk = sql.contains(QLatin1String("INDEXED BY"));
            // A first or last row of a whole table in writing order: one row read.
            const bool wholeTableEnd = sql.contains(QLatin1String("WHERE 1 ORDER BY __k0"));
            for (const QString& step : plan) {
                const std::string said =
                    std::string(which) + ": " + shape(plan).toStdString() + "\n  in " + sql.toStdString();
                EXPECT_FALSE(step.contains(kWholeTable) && !step.contains(QLatin1String(" USING ")) &&
                             !wholeTableEnd)
                    << said;
                if (firstOnly && !chosenWalk) {
                    EXPECT_FALSE(step.contains(kWholeTable) && !wholeTableEnd && !walkInOrder(sql, step))
                        << said;
                    EXPECT_FALSE(step.contains(kSort) && !boundedSort(sql)) << said;
                }
                // A kept-aside list of clients never leads a walk over the documents.
                const qsizetype at = plan.indexOf(step);
                EXPECT_FALSE(step.startsWith(QLatin1String("SCAN CliEC")) && at + 1 < plan.size() &&
                             plan[at + 1].contains(QRegularExpression(
                                 QStringLiteral(R"(^(SEARCH|SCAN) (Facture|DetFact|AVOIR)\b)"))))
                    << said;
            }
        }
    }
    // The same statements read the same way: statistics change no plan.
    for (const auto& [sql, plan] : plain.bySql) {
        const auto other = analyzed.bySql.find(sql);
        if (other == analyzed.bySql.end() || sql.endsWith(QLatin1String("LIMIT 0")) || leftToSqlite(sql))
            continue;
        EXPECT_EQ(shape(plan).toStdString(), shape(other->second).toStdString())
            << "in " << sql.toStdString();
    }
}

} // namespace
