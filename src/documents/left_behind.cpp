#include "documents/left_behind.h"

#include "store/database.h"

namespace pylon {

bool deleteOrphanLines(Database& db, int number) {
    // Each a lookup through the line table's index on the number, and one of the header's.
    for (const char* lines : {"DetFact", "AVOIR"})
        if (!db.exec(QStringLiteral("DELETE FROM %1 WHERE NumFact = ? AND NOT EXISTS "
                                    "(SELECT 1 FROM Facture WHERE NumFact = ?)")
                         .arg(QLatin1String(lines)),
                     {number, number}))
            return false;
    return true;
}

std::optional<bool> partyHasDocuments(Database& db, int party) {
    // The first document found is enough: a party can have thousands.
    auto st = db.prepare(QStringLiteral("SELECT 1 FROM Facture WHERE NumCli = ? LIMIT 1"));
    if (!st || !st->bind(0, party)) return std::nullopt;
    const bool found = st->step();
    if (!st->ok()) return std::nullopt;
    return found;
}

} // namespace pylon
