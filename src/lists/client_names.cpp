#include "lists/client_names.h"

#include "store/database.h"

namespace pylon {

QString ClientNames::folded(const QString& text) {
    const QString decomposed = text.normalized(QString::NormalizationForm_D);
    QString out;
    out.reserve(decomposed.size());
    for (const QChar c : decomposed)
        if (c.category() != QChar::Mark_NonSpacing) out += c;
    return out.toCaseFolded();
}

// The distinct values of a column of the headers. Through its index, one jump to the next value at a time:
// a few thousand names among a million documents cost a few thousand lookups instead of a pass over all.
bool ClientNames::readDistinct(Database& db, const QString& column, const QString& index,
                               std::vector<Known>& out) {
    const bool indexed =
        db.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'index' AND name = ?"),
                  {index})
            .toInt() == 1;
    const QString sql =
        indexed ? QStringLiteral(
                      "WITH RECURSIVE n(v) AS (SELECT (SELECT min(%1) FROM Facture) UNION ALL "
                      "SELECT (SELECT min(%1) FROM Facture WHERE %1 > n.v) FROM n WHERE n.v IS NOT NULL) "
                      "SELECT v FROM n WHERE v IS NOT NULL")
                      .arg(column)
                : QStringLiteral("SELECT DISTINCT %1 FROM Facture WHERE %1 IS NOT NULL").arg(column);
    auto st = db.prepare(sql);
    if (!st) return false;
    out.clear();
    while (st->step()) {
        const QVariant v = st->value(0);
        out.push_back({folded(v.toString()), v});
    }
    return st->ok();
}

bool ClientNames::reload(Database& db) {
    // Another program's saves change data_version; this connection's own, its count of changes.
    const QVariant version = db.scalar(QStringLiteral("PRAGMA data_version"));
    if (!version.isValid()) return false;
    if (version.toLongLong() == version_ && db.totalChanges() == changes_) return true;
    if (!readDistinct(db, QStringLiteral("NomCli"), QStringLiteral("pylon_facture_name"), names_) ||
        !readDistinct(db, QStringLiteral("NumCli"), QStringLiteral("pylon_facture_party"), numbers_)) {
        version_ = -1;
        return false;
    }
    version_ = version.toLongLong();
    changes_ = db.totalChanges();
    return true;
}

std::optional<ClientNames::Matches> ClientNames::matching(Database& db, const QString& part) {
    if (!reload(db)) return std::nullopt;
    const QString wanted = folded(part.trimmed());
    Matches m;
    for (const Known& k : names_)
        if (k.folded.contains(wanted)) m.names << k.stored;
    for (const Known& k : numbers_)
        if (k.folded.contains(wanted)) m.numbers << k.stored;
    return m;
}

} // namespace pylon
