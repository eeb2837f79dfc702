#include "store/totals_cache.h"

#include "store/database.h"

#include <algorithm>

namespace pylon::totals_cache {

namespace {

// The triggers only throw away and note: they run in whatever program writes the file, so they use
// built-in SQL alone, and they never fail on a value of an unexpected type (the note takes any value).
// A number already noted is not noted again: the statement that fires the trigger imposes its own conflict
// clause on the trigger's statements (an "INSERT OR ABORT INTO DetFact" makes "INSERT OR IGNORE" abort), so
// the note must never meet its key twice. IS, not =, so that a NULL is noted once as well.
QString forget(const char* row) {
    return QStringLiteral("DELETE FROM pylon_totals WHERE NumFact = %1.NumFact; "
                          "INSERT INTO pylon_totals_stale(NumFact) SELECT %1.NumFact WHERE NOT EXISTS "
                          "(SELECT 1 FROM pylon_totals_stale WHERE NumFact IS %1.NumFact); ")
        .arg(QLatin1String(row));
}

struct Watch {
    const char* name;
    const char* event; // what on which table
    bool oldRow, newRow;
};

// A line changes a document's totals only by its number or its amount; a header by what decides whether
// and when it is a sale, whose client it is and whether it carries a credit note.
const Watch kWatches[] = {
    {"pylon_totals_lines_added", "INSERT ON DetFact", false, true},
    {"pylon_totals_lines_changed", "UPDATE OF NumFact, Mnt ON DetFact", true, true},
    {"pylon_totals_lines_removed", "DELETE ON DetFact", true, false},
    {"pylon_totals_credit_added", "INSERT ON AVOIR", false, true},
    {"pylon_totals_credit_changed", "UPDATE OF NumFact, Mnt ON AVOIR", true, true},
    {"pylon_totals_credit_removed", "DELETE ON AVOIR", true, false},
    {"pylon_totals_document_added", "INSERT ON Facture", false, true},
    {"pylon_totals_document_changed",
     "UPDATE OF NumFact, DateFact, NumCli, TypeFact, Avoir, \"Annulée\" ON Facture", true, true},
    {"pylon_totals_document_removed", "DELETE ON Facture", true, false},
};

const char* const kTables[] = {"pylon_totals", "pylon_totals_stale"};

QStringList objectNames() {
    QStringList names;
    for (const char* t : kTables)
        names << QString::fromLatin1(t);
    for (const Watch& w : kWatches)
        names << QString::fromLatin1(w.name);
    return names;
}

// As SQLite keeps it in sqlite_master: the statement without its semicolon.
QString triggerSql(const Watch& w) {
    return QStringLiteral("CREATE TRIGGER %1 AFTER %2 BEGIN %3%4END")
        .arg(QLatin1String(w.name), QString::fromUtf8(w.event), w.oldRow ? forget("OLD") : QString(),
             w.newRow ? forget("NEW") : QString());
}

QString createTriggersSql() {
    QString sql;
    for (const Watch& w : kWatches)
        sql += triggerSql(w) + QLatin1Char(';');
    return sql;
}

QString createSql() {
    return QStringLiteral(
               "CREATE TABLE pylon_totals(NumFact INTEGER PRIMARY KEY, DateFact TEXT, NumCli INTEGER, Sales "
               "INTEGER, "
               "HT INTEGER, TVA INTEGER, TTC INTEGER, Credit INTEGER, CreditHT INTEGER, CreditTVA INTEGER);"
               "CREATE TABLE pylon_totals_stale(NumFact PRIMARY KEY);") +
           createTriggersSql();
}

QString dropTriggersSql() {
    QString sql;
    for (const Watch& w : kWatches)
        sql += QStringLiteral("DROP TRIGGER IF EXISTS %1;").arg(QLatin1String(w.name));
    return sql;
}

// Made after the rows: one pass over sorted data instead of an update per row. The sales index holds every
// column the sales figures read (Sales too, which SQLite would otherwise read from the table), so that
// they never visit the table.
const char* const kIndexes =
    "CREATE INDEX pylon_totals_ttc ON pylon_totals(TTC);"
    "CREATE INDEX pylon_totals_sales ON pylon_totals(DateFact, Sales, NumCli, HT, TVA, Credit, CreditHT, "
    "CreditTVA) WHERE Sales = 1;";

QString dropSql() {
    QString sql = dropTriggersSql();
    for (const char* t : kTables)
        sql += QStringLiteral("DROP TABLE IF EXISTS %1;").arg(QLatin1String(t));
    return sql;
}

int objectsPresent(Database& db) {
    return db
        .scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name IN ('%1')")
                    .arg(objectNames().join(QStringLiteral("','"))))
        .toInt();
}

// The triggers whose text is not the one this program makes: those of an earlier version, which a
// conflict clause of another program's statement could make fail. Read from sqlite_master, a few rows.
int triggersOutdated(Database& db) {
    QStringList expected;
    for (const Watch& w : kWatches)
        expected << QStringLiteral("('%1', '%2')")
                        .arg(QLatin1String(w.name),
                             triggerSql(w).replace(QLatin1Char('\''), QStringLiteral("''")));
    return db
        .scalar(
            QStringLiteral("WITH ours(name, sql) AS (VALUES %1) SELECT count(*) FROM sqlite_master m "
                           "JOIN ours o ON o.name = m.name WHERE m.type <> 'trigger' OR m.sql IS NOT o.sql")
                .arg(expected.join(QStringLiteral(", "))))
        .toInt();
}

// Reading the totals must not leave a failure of its own behind for the commands that come after.
class KeepError {
  public:
    explicit KeepError(Database& db) : db_(db), text_(db.lastError()), code_(db.lastErrorCode()) {}
    ~KeepError() { db_.setError(text_, code_); }

  private:
    Database& db_;
    QString text_;
    int code_;
};

} // namespace

QString computedRowsOf(const QString& numbers) {
    const QString noted =
        numbers.isEmpty() ? QString() : QStringLiteral("WHERE NumFact IN (%1)").arg(numbers);
    return QStringLiteral(
               "SELECT f.NumFact AS NumFact, pylon_date(f.DateFact) AS DateFact, f.NumCli AS NumCli, "
               "(f.TypeFact IN ('Facture', 'Facture M') AND NOT pylon_flag(f.\"Annulée\")) AS Sales, "
               "CASE WHEN d.NumFact IS NULL THEN 0 ELSE d.HT END AS HT, "
               "CASE WHEN d.NumFact IS NULL THEN 0 ELSE d.TVA END AS TVA, "
               "CASE WHEN d.NumFact IS NULL THEN 0 ELSE d.TTC END AS TTC, "
               "pylon_flag(f.Avoir) AS Credit, "
               "CASE WHEN NOT pylon_flag(f.Avoir) OR a.NumFact IS NULL THEN 0 ELSE a.HT END AS CreditHT, "
               "CASE WHEN NOT pylon_flag(f.Avoir) OR a.NumFact IS NULL THEN 0 ELSE a.TVA END AS CreditTVA "
               "FROM Facture f "
               "LEFT JOIN (SELECT NumFact, pylon_cents(pylon_ht(Mnt)) AS HT, pylon_cents(pylon_tva(Mnt)) AS "
               "TVA, "
               "pylon_cents(pylon_ttc(Mnt)) AS TTC "
               "FROM DetFact %1 GROUP BY NumFact) d ON d.NumFact = f.NumFact "
               "LEFT JOIN (SELECT NumFact, pylon_cents(pylon_ht(Mnt)) AS HT, pylon_cents(pylon_tva(Mnt)) AS "
               "TVA "
               "FROM AVOIR %1 GROUP BY NumFact) a ON a.NumFact = f.NumFact "
               "WHERE typeof(f.NumFact) = 'integer' %2")
        .arg(noted, numbers.isEmpty() ? QString() : QStringLiteral("AND f.NumFact IN (%1)").arg(numbers));
}

QString computedRows(bool staleOnly) {
    return computedRowsOf(staleOnly ? QStringLiteral("SELECT NumFact FROM pylon_totals_stale") : QString());
}

bool present(Database& db) {
    return objectsPresent(db) == int(std::size(kTables) + std::size(kWatches));
}

bool ensure(Database& db) {
    if (present(db)) {
        // The kept rows are right; only the triggers of an earlier version are made again, in one
        // transaction, without computing a single document. A file that cannot be written keeps them.
        if (db.readOnly() || triggersOutdated(db) == 0) return true;
        Transaction t(db);
        return t.active() && db.exec(dropTriggersSql()) && db.exec(createTriggersSql()) && t.commit();
    }
    if (db.readOnly()) return false;
    // Whatever was left of an earlier set is made again whole: with a trigger missing, the rows could be
    // wrong. Nobody else writes while the transaction lasts, so no change slips between the fill and the
    // triggers.
    Transaction t(db);
    return t.active() && db.exec(dropSql()) && db.exec(createSql()) &&
           db.exec(QStringLiteral("INSERT INTO pylon_totals(%1) ").arg(QLatin1String(kColumns)) +
                   computedRows(false)) &&
           db.exec(QString::fromLatin1(kIndexes)) && t.commit();
}

bool hasStale(Database& db) {
    return db.scalar(QStringLiteral("SELECT EXISTS (SELECT 1 FROM pylon_totals_stale)")).toInt() != 0;
}

qint64 staleCount(Database& db, qint64 upTo) {
    const QVariant n =
        db.scalar(QStringLiteral("SELECT count(*) FROM (SELECT 1 FROM pylon_totals_stale LIMIT ?)"), {upTo});
    return n.isValid() ? n.toLongLong() : -1;
}

bool refresh(Database& db) {
    KeepError keep(db);
    if (!present(db)) return false;
    if (!hasStale(db)) return true;
    if (db.readOnly()) return false;
    // Many noted documents are the preparation's work, on its own thread, a batch at a time: computed here
    // they would hold the window for seconds.
    if (staleCount(db, kComputedOnTheSpot + 1) > kComputedOnTheSpot) return false;
    Transaction t(db);
    return t.active() &&
           db.exec(QStringLiteral("INSERT OR REPLACE INTO pylon_totals(%1) ").arg(QLatin1String(kColumns)) +
                   computedRows(true)) &&
           db.exec(QStringLiteral("DELETE FROM pylon_totals_stale")) && t.commit();
}

bool noteEveryDocument(Database& db) {
    if (db.readOnly()) return false;
    // The tables, their triggers and indexes at once, every document noted: from then on any write is
    // followed, and the documents are computed a batch at a time.
    Transaction t(db);
    return t.active() && db.exec(dropSql()) && db.exec(createSql()) &&
           db.exec(
               QStringLiteral("INSERT INTO pylon_totals_stale(NumFact) SELECT DISTINCT NumFact FROM Facture "
                              "WHERE typeof(NumFact) = 'integer' ORDER BY NumFact")) &&
           db.exec(QString::fromLatin1(kIndexes)) && t.commit();
}

qint64 refreshBatch(Database& db, int documents) {
    if (db.readOnly() || !present(db)) return -1;
    // One short transaction: the editor's saves wait for it a moment at most.
    const QString batch =
        QStringLiteral("SELECT NumFact FROM pylon_totals_stale ORDER BY NumFact LIMIT %1").arg(documents);
    Transaction t(db);
    if (!t.active() ||
        !db.exec(QStringLiteral("INSERT OR REPLACE INTO pylon_totals(%1) ").arg(QLatin1String(kColumns)) +
                 computedRowsOf(batch)))
        return -1;
    const qint64 done = db.changes();
    if (!db.exec(QStringLiteral("DELETE FROM pylon_totals_stale WHERE NumFact IN (%1)").arg(batch)) ||
        !t.commit())
        return -1;
    return std::max<qint64>(done, db.changes());
}

namespace {

void collect(Database& db, const QString& sql, const QString& message, QStringList& out) {
    auto st = db.prepare(sql + QStringLiteral(" LIMIT 20"));
    if (!st) {
        out << QStringLiteral("cannot check the kept totals: %1").arg(db.lastError());
        return;
    }
    while (st->step())
        out << message.arg(st->value(0).toString());
}

} // namespace

QStringList check(Database& db) {
    QStringList out;
    const int objects = objectsPresent(db);
    if (objects == 0) return out;
    if (!present(db)) {
        out << QStringLiteral("the kept totals lack some of their tables or triggers (%1 of %2)")
                   .arg(objects)
                   .arg(std::size(kTables) + std::size(kWatches));
        return out;
    }
    if (const int outdated = triggersOutdated(db))
        out << QStringLiteral("%1 of the kept totals' triggers are of an earlier version, which another "
                              "program's conflict clause can make fail (opening the file writable makes them "
                              "again)")
                   .arg(outdated);
    QStringList differs;
    for (const QString& c : QString::fromLatin1(kColumns).split(QStringLiteral(", ")).mid(1))
        differs << QStringLiteral("k.%1 IS NOT r.%1").arg(c);
    collect(db,
            QStringLiteral("SELECT k.NumFact FROM pylon_totals k LEFT JOIN (%1) r ON r.NumFact = k.NumFact "
                           "WHERE r.NumFact IS NULL OR %2")
                .arg(computedRows(false), differs.join(QStringLiteral(" OR "))),
            QStringLiteral("the totals kept for document %1 are not its own"), out);
    collect(
        db,
        QStringLiteral("SELECT f.NumFact FROM Facture f WHERE typeof(f.NumFact) = 'integer' AND NOT EXISTS "
                       "(SELECT 1 FROM pylon_totals k WHERE k.NumFact = f.NumFact) AND NOT EXISTS "
                       "(SELECT 1 FROM pylon_totals_stale s WHERE s.NumFact = f.NumFact)"),
        QStringLiteral("document %1 has no kept totals and is not noted to get them"), out);
    collect(db,
            QStringLiteral("SELECT s.NumFact FROM pylon_totals_stale s JOIN pylon_totals k ON k.NumFact = "
                           "s.NumFact"),
            QStringLiteral("document %1 is noted to be computed again, but its old totals are kept"), out);
    return out;
}

} // namespace pylon::totals_cache
