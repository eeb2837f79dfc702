#include "store/schema.h"

#include "store/database.h"
#include "store/totals_cache.h"

#include <QDate>

namespace pylon::schema {

FieldType fieldType(const QString& field) {
    const QString f = field.toLower();
    if (f == u"numfact" || f == u"numcli") return FieldType::Integer;
    if (f == u"datefact") return FieldType::Date;
    if (f == u"avoir" || f == u"annulée" || f == u"clientc" || f == u"frs") return FieldType::Boolean;
    return FieldType::Text;
}

QString createTablesSql() {
    return QStringLiteral(
        "CREATE TABLE Facture(NumFact INTEGER, DateFact, NumCli INTEGER, NomCli TEXT, AdrCli TEXT, "
        "TypeFact TEXT, Avoir BOOLEAN DEFAULT 0, \"Annulée\" BOOLEAN DEFAULT 0);"
        "CREATE TABLE DetFact(NumFact INTEGER, NB TEXT, Qt TEXT, Design TEXT, PU TEXT, Mnt TEXT);"
        "CREATE TABLE AVOIR(NumFact INTEGER, NB TEXT, Qt TEXT, Design TEXT, PU TEXT, Mnt TEXT);"
        "CREATE TABLE CliEC(NumCli INTEGER, ClientC BOOLEAN DEFAULT 0, Frs BOOLEAN DEFAULT 0);");
}

namespace {

// Our additions. Every search the program makes goes through one of these indexes; the trigger takes a
// document's lines with it, unless another header still carries the same number (a damaged file).
// A client's first document of a kind is found through the index on kind, client and number, not by
// walking the kind in number order until the client turns up; it took the place of an index on the
// client alone, whose lookups the index on client, name and address serves as well.
struct Addition {
    const char* name;
    const char* sql;
};

// In the order a file being prepared needs them: first what the editor's first display and its steps read
// through (lines by document, documents by kind and number), then the lists and searches.
const Addition kAdditionList[] = {
    {"pylon_detfact_numfact", "CREATE INDEX IF NOT EXISTS pylon_detfact_numfact ON DetFact(NumFact);"},
    {"pylon_facture_type", "CREATE INDEX IF NOT EXISTS pylon_facture_type ON Facture(TypeFact, NumFact);"},
    {"pylon_facture_numfact", "CREATE INDEX IF NOT EXISTS pylon_facture_numfact ON Facture(NumFact);"},
    {"pylon_avoir_numfact", "CREATE INDEX IF NOT EXISTS pylon_avoir_numfact ON AVOIR(NumFact);"},
    {"pylon_cliec_numcli", "CREATE INDEX IF NOT EXISTS pylon_cliec_numcli ON CliEC(NumCli);"},
    {"pylon_lines_follow_document",
     "CREATE TRIGGER IF NOT EXISTS pylon_lines_follow_document AFTER DELETE ON Facture "
     "WHEN NOT EXISTS (SELECT 1 FROM Facture WHERE NumFact = OLD.NumFact) BEGIN "
     "DELETE FROM DetFact WHERE NumFact = OLD.NumFact; "
     "DELETE FROM AVOIR WHERE NumFact = OLD.NumFact; END;"},
    {"pylon_facture_kind", "CREATE INDEX IF NOT EXISTS pylon_facture_kind ON Facture(TypeFact);"},
    {"pylon_facture_kind_client",
     "CREATE INDEX IF NOT EXISTS pylon_facture_kind_client ON Facture(TypeFact, NumCli, NumFact);"},
    {"pylon_facture_party",
     "CREATE INDEX IF NOT EXISTS pylon_facture_party ON Facture(NumCli, NomCli, AdrCli);"},
    {"pylon_facture_avoir", "CREATE INDEX IF NOT EXISTS pylon_facture_avoir ON Facture(Avoir);"},
    // The search window: names, and documents newest first, of every kind or of one.
    {"pylon_facture_name", "CREATE INDEX IF NOT EXISTS pylon_facture_name ON Facture(NomCli, NumFact);"},
    {"pylon_facture_date", "CREATE INDEX IF NOT EXISTS pylon_facture_date ON Facture(DateFact, NumFact);"},
    {"pylon_facture_kind_date",
     "CREATE INDEX IF NOT EXISTS pylon_facture_kind_date ON Facture(TypeFact, DateFact, NumFact);"},
};

// The index on the client alone, which the index on client, name and address replaced.
const char* const kReplaced = "DROP INDEX IF EXISTS pylon_facture_numcli;";

QString allAdditionsSql() {
    QString sql = QString::fromLatin1(kReplaced);
    for (const Addition& a : kAdditionList)
        sql += QString::fromUtf8(a.sql);
    return sql;
}

} // namespace

bool hasTables(Database& db) {
    const QVariant n = db.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type='table' AND "
                                                "lower(name) IN ('facture','detfact','avoir','cliec')"));
    return n.isValid() && n.toInt() == 4;
}

bool createTables(Database& db) {
    Transaction t(db);
    return t.active() && db.exec(createTablesSql()) && db.exec(allAdditionsSql()) && t.commit() &&
           totals_cache::ensure(db);
}

QStringList missingAdditions(Database& db) {
    QStringList names;
    for (const Addition& a : kAdditionList)
        names << QString::fromLatin1(a.name);
    QStringList present;
    auto st = db.prepare(QStringLiteral("SELECT name FROM sqlite_master WHERE name IN ('%1')")
                             .arg(names.join(QStringLiteral("','"))));
    while (st && st->step())
        present << st->value(0).toString();
    QStringList missing;
    // A file that cannot be read is taken to lack them all: nothing is skipped on a guess.
    for (const Addition& a : kAdditionList)
        if (!st || !st->ok() || !present.contains(QString::fromLatin1(a.name)))
            missing << QString::fromUtf8(a.sql);
    if (!missing.isEmpty()) missing.prepend(QString::fromLatin1(kReplaced));
    return missing;
}

bool hasViewIndexes(Database& db) {
    // The first five of the list, made first by a preparation.
    constexpr int kViewIndexes = 5;
    QStringList names;
    for (int i = 0; i < kViewIndexes; ++i)
        names << QString::fromLatin1(kAdditionList[i].name);
    const QVariant n = db.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'index' AND "
                                                "name IN ('%1')")
                                     .arg(names.join(QStringLiteral("','"))));
    return n.isValid() && n.toInt() == kViewIndexes;
}

namespace {

bool hasIndexesAndTriggers(Database& db) {
    return missingAdditions(db).isEmpty();
}

} // namespace

bool inLogMode(Database& db) {
    return db.scalar(QStringLiteral("PRAGMA journal_mode")).toString().compare(u"wal", Qt::CaseInsensitive) ==
           0;
}

bool switchToLogMode(Database& db) {
    return db.scalar(QStringLiteral("PRAGMA journal_mode=WAL"))
               .toString()
               .compare(u"wal", Qt::CaseInsensitive) == 0;
}

bool hasAdditions(Database& db) {
    return hasIndexesAndTriggers(db) && totals_cache::present(db) && inLogMode(db);
}

bool ensureAdditions(Database& db) {
    if (!hasTables(db)) return false;
    // A read-only or busy file simply goes without them; the searches are then slower, not wrong.
    if (!hasIndexesAndTriggers(db)) db.exec(allAdditionsSql());
    totals_cache::ensure(db);
    return true;
}

namespace {

void collect(Database& db, const QString& sql, const QString& message, QStringList& out, int limit = 20) {
    auto st = db.prepare(sql);
    if (!st) {
        out << QStringLiteral("cannot run a check: %1").arg(db.lastError());
        return;
    }
    int n = 0;
    while (st->step()) {
        if (++n > limit) {
            out << QStringLiteral("… and more: %1").arg(message.section(QLatin1Char(':'), 0, 0));
            break;
        }
        QString line = message;
        for (int i = 0; i < st->columnCount(); ++i)
            line = line.arg(st->value(i).toString());
        out << line;
    }
}

} // namespace

QStringList check(Database& db) {
    QStringList out;
    if (!hasTables(db)) {
        out << QStringLiteral("the file lacks one of the tables Facture, DetFact, AVOIR, CliEC");
        return out;
    }
    auto st = db.prepare(QStringLiteral("PRAGMA integrity_check"));
    while (st && st->step()) {
        const QString r = st->value(0).toString();
        if (r != u"ok") out << QStringLiteral("integrity: %1").arg(r);
    }
    collect(db, QStringLiteral("SELECT NumFact, count(*) FROM Facture GROUP BY NumFact HAVING count(*) > 1"),
            QStringLiteral("document number %1 is used by %2 documents"), out);
    collect(db,
            QStringLiteral("SELECT rowid FROM Facture WHERE NumFact IS NULL OR typeof(NumFact) <> 'integer'"),
            QStringLiteral("document at row %1 has no whole number"), out);
    collect(db,
            QStringLiteral("SELECT NumFact FROM Facture f WHERE NOT EXISTS "
                           "(SELECT 1 FROM DetFact d WHERE d.NumFact = f.NumFact)"),
            QStringLiteral("document %1 has no line"), out);
    collect(db,
            QStringLiteral("SELECT NumFact, NumCli FROM Facture f WHERE NOT EXISTS "
                           "(SELECT 1 FROM CliEC c WHERE c.NumCli = f.NumCli)"),
            QStringLiteral("document %1 names client %2, who has no CliEC row"), out);
    collect(db,
            QStringLiteral("SELECT NumCli FROM CliEC c WHERE NOT EXISTS "
                           "(SELECT 1 FROM Facture f WHERE f.NumCli = c.NumCli)"),
            QStringLiteral("client %1 has no document left"), out);
    collect(db, QStringLiteral("SELECT NumCli, count(*) FROM CliEC GROUP BY NumCli HAVING count(*) > 1"),
            QStringLiteral("client number %1 has %2 CliEC rows"), out);
    for (const char* lines : {"DetFact", "AVOIR"}) {
        collect(db,
                QStringLiteral("SELECT DISTINCT NumFact FROM %1 l WHERE NOT EXISTS "
                               "(SELECT 1 FROM Facture f WHERE f.NumFact = l.NumFact)")
                    .arg(QLatin1String(lines)),
                QStringLiteral("%1 lines of document %2 outlive it")
                    .arg(QLatin1String(lines), QStringLiteral("%1")),
                out);
    }
    collect(db,
            QStringLiteral("SELECT DISTINCT a.NumFact FROM AVOIR a JOIN Facture f ON f.NumFact = a.NumFact "
                           "WHERE coalesce(f.Avoir, 0) = 0"),
            QStringLiteral("document %1 has credit-note lines but no credit-note flag"), out);
    collect(db,
            QStringLiteral("SELECT NumFact, TypeFact FROM Facture WHERE TypeFact IS NULL OR TypeFact NOT IN "
                           "('Facture','Devis','BC','BL','Facture M')"),
            QStringLiteral("document %1 has an unknown kind '%2'"), out);
    collect(db,
            QStringLiteral("SELECT NumFact, DateFact FROM Facture WHERE DateFact IS NULL OR "
                           "DateFact NOT GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]' OR "
                           "date(DateFact) IS NOT DateFact"),
            QStringLiteral("document %1 has a date that is not a date: '%2'"), out);
    for (const char* col : {"Avoir", "\"Annulée\""}) {
        collect(db,
                QStringLiteral("SELECT NumFact, %1 FROM Facture WHERE %1 IS NOT NULL AND %1 NOT IN (0, 1)")
                    .arg(QString::fromUtf8(col)),
                QStringLiteral("document %1 has a flag that is not 0 or 1: %2"), out);
    }
    out << totals_cache::check(db);
    return out;
}

} // namespace pylon::schema
