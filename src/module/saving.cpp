#include "module/saving.h"

#include <functional>

namespace pylon {

namespace {

FoundRow headerOf(Database& db, const DocumentEntry& entry) {
    return lookUpIn(db, QStringLiteral("Facture"), QStringLiteral("NumFact=") + entry.number.trimmed());
}

// `wanted` is the answer that lets the save go on; any other is a refusal, whose message the caller gives.
// The writes get the headers standing on the entry's document, when there is one.
WriteResult writeSave(Database& db, const DocumentEntry& entry, Lookup wanted,
                      const std::function<bool(RecordSet& headers)>& writes) {
    return runWrite(db, [&] {
        const FoundRow header = headerOf(db, entry);
        if (header.found == Lookup::Failed) return WriteResult::failed();
        if (header.found != wanted) return WriteResult::refused(QString());
        return WriteResult::doneIf(writes(*header.rs));
    });
}

} // namespace

Lookup findHeader(Database& db, const DocumentEntry& entry) {
    return headerOf(db, entry).found;
}

WriteResult writeNewDocument(Database& db, const DocumentEntry& entry) {
    return writeSave(db, entry, Lookup::Absent, [&db, &entry](RecordSet& headers) {
        const auto parties = RecordSet::open(db, QStringLiteral("CliEC"));
        const auto lines = RecordSet::open(db, QStringLiteral("DetFact"));
        return parties && lines && writeParty(*parties, entry) && writeHeader(headers, entry) &&
               writeLines(*lines, entry);
    });
}

WriteResult writeCreditNote(Database& db, const DocumentEntry& entry) {
    return writeSave(db, entry, Lookup::Found, [&db, &entry](RecordSet& headers) {
        const auto lines = RecordSet::open(db, QStringLiteral("AVOIR"));
        return lines && headers.Edit() && headers.SetField(QStringLiteral("Avoir"), true) &&
               headers.Update() && writeLines(*lines, entry);
    });
}

} // namespace pylon
