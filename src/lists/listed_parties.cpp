#include "lists/listed_parties.h"

#include "domain/source_sql.h"
#include "store/database.h"
#include "store/field_value.h"

namespace pylon {

namespace {

// Each step jumps through the index on (NumCli, NomCli, AdrCli) from one distinct row of a party to the
// next: another address under the same name, else the next name, until the party has no more; a missing
// name or address sorts first, as everywhere in the file. `p` ends up with one row id per distinct row (and
// a null one where a party ran out).
QString distinctRowsSql(bool suppliers) {
    const QString side =
        translateBooleans(suppliers ? QStringLiteral("Frs = True") : QStringLiteral("Frs = false"));
    return QStringLiteral(
               "WITH RECURSIVE side(n) AS (SELECT DISTINCT NumCli FROM CliEC WHERE %1 AND NumCli IS NOT "
               "NULL), "
               "p(n, r) AS (SELECT n, (SELECT rowid FROM Facture WHERE NumCli = side.n ORDER BY NomCli, "
               "AdrCli "
               "LIMIT 1) FROM side "
               "UNION ALL SELECT p.n, coalesce("
               "CASE WHEN f.AdrCli IS NULL "
               "THEN (SELECT g.rowid FROM Facture g WHERE g.NumCli = p.n AND g.NomCli IS f.NomCli AND "
               "g.AdrCli "
               "IS NOT NULL ORDER BY g.AdrCli LIMIT 1) "
               "ELSE (SELECT g.rowid FROM Facture g WHERE g.NumCli = p.n AND g.NomCli IS f.NomCli AND "
               "g.AdrCli > "
               "f.AdrCli ORDER BY g.AdrCli LIMIT 1) END, "
               "CASE WHEN f.NomCli IS NULL "
               "THEN (SELECT g.rowid FROM Facture g WHERE g.NumCli = p.n AND g.NomCli IS NOT NULL ORDER BY "
               "g.NomCli, g.AdrCli LIMIT 1) "
               "ELSE (SELECT g.rowid FROM Facture g WHERE g.NumCli = p.n AND g.NomCli > f.NomCli ORDER BY "
               "g.NomCli, g.AdrCli LIMIT 1) END) "
               "FROM p JOIN Facture f ON f.rowid = p.r) ")
        .arg(side);
}

} // namespace

std::optional<std::vector<ListedParty>> listParties(Database& db, bool suppliers) {
    if (!db.isOpen()) return std::nullopt;
    // The flag is that of the party's first CliEC row, as a search of the table from its start finds it.
    auto st = db.prepare(distinctRowsSql(suppliers) +
                         QStringLiteral("SELECT f.NumCli, f.NomCli, f.AdrCli, (SELECT c.ClientC FROM CliEC c "
                                        "WHERE c.NumCli = f.NumCli ORDER BY c.rowid LIMIT 1) "
                                        "FROM p JOIN Facture f ON f.rowid = p.r ORDER BY 1, 2, 3"));
    if (!st) return std::nullopt;
    std::vector<ListedParty> out;
    while (st->step())
        out.push_back({listText(schema::FieldType::Integer, st->value(0)),
                       listText(schema::FieldType::Text, st->value(1)),
                       listText(schema::FieldType::Text, st->value(2)),
                       fromStoredValue(schema::FieldType::Boolean, st->value(3)).toBool()});
    if (!st->ok()) return std::nullopt;
    return out;
}

std::optional<ListedParty> findParty(Database& db, const QString& number) {
    bool whole = false;
    const qlonglong n = number.trimmed().toLongLong(&whole);
    if (!whole || !db.isOpen()) return std::nullopt;
    auto st = db.prepare(QStringLiteral(
        "SELECT (SELECT c.ClientC FROM CliEC c WHERE c.NumCli = ?1 ORDER BY c.rowid LIMIT 1), "
        "(SELECT f.NomCli FROM Facture f WHERE f.NumCli = ?1 ORDER BY f.rowid DESC LIMIT 1), "
        "(SELECT f.AdrCli FROM Facture f WHERE f.NumCli = ?1 ORDER BY f.rowid DESC LIMIT 1), "
        "EXISTS (SELECT 1 FROM CliEC c WHERE c.NumCli = ?1) OR EXISTS (SELECT 1 FROM Facture f WHERE "
        "f.NumCli = ?1)"));
    if (!st || !st->bind(0, n) || !st->step() || !st->value(3).toBool()) return std::nullopt;
    return ListedParty{QString::number(n), listText(schema::FieldType::Text, st->value(1)),
                       listText(schema::FieldType::Text, st->value(2)),
                       fromStoredValue(schema::FieldType::Boolean, st->value(0)).toBool()};
}

std::optional<long> countParties(Database& db, bool suppliers) {
    if (!db.isOpen()) return std::nullopt;
    auto st = db.prepare(distinctRowsSql(suppliers) + QStringLiteral("SELECT count(r) FROM p"));
    if (!st || !st->step()) return std::nullopt;
    return long(st->value(0).toLongLong());
}

} // namespace pylon
