#include "module/cancelling.h"

#include "store/database.h"
#include "store/recordset.h"

namespace pylon {

namespace {

const QString kFlag = QStringLiteral("Annulée");

FoundRow headerOf(Database& db, const QString& number) {
    return lookUpIn(db, QStringLiteral("Facture"), QStringLiteral("NumFact=") + number);
}

} // namespace

std::optional<bool> findCancelled(Database& db, const QString& number) {
    const FoundRow header = headerOf(db, number);
    if (header.found != Lookup::Found) return std::nullopt;
    const auto flag = header.rs->Fields(kFlag);
    return flag && flag->toBool();
}

WriteResult writeCancelled(Database& db, const QString& number, bool cancelled) {
    if (!db.isOpen()) return WriteResult::failed(QStringLiteral("la base de données n'est pas ouverte"));
    return runWrite(db, [&] {
        const FoundRow header = headerOf(db, number);
        if (header.found == Lookup::Failed) return WriteResult::failed();
        // Deleted by another copy of the program since the question was asked: there is nothing to mark.
        if (header.found == Lookup::Absent) return WriteResult::done();
        RecordSet& row = *header.rs;
        return WriteResult::doneIf(row.Edit() && row.SetField(kFlag, cancelled) && row.Update());
    });
}

} // namespace pylon
