#include "module/saving.h"

#include "module/module1.h"

#include <functional>

namespace pylon {

namespace {

// `wanted` is the answer that lets the save go on; any other is a refusal, whose message the caller gives.
WriteResult writeSave(Module1& m, const DocumentEntry& entry, Lookup wanted,
                      const std::function<bool()>& writes) {
    if (!m.rsFacture || !m.rsCliEC || !m.rsDetFact || !m.rsAvoir) return WriteResult::failed();
    return runWrite(m.db,
                    [&] {
                        const Lookup found = findHeader(m, entry);
                        if (found == Lookup::Failed) return WriteResult::failed();
                        if (found != wanted) return WriteResult::refused(QString());
                        return WriteResult::doneIf(writes());
                    },
                    {m.rsFacture.get(), m.rsDetFact.get(), m.rsCliEC.get(), m.rsAvoir.get()});
}

} // namespace

Lookup findHeader(Module1& m, const DocumentEntry& entry) {
    if (!m.rsFacture) return Lookup::Failed;
    return lookUp(*m.rsFacture, QStringLiteral("NumFact=") + entry.number.trimmed());
}

WriteResult writeNewDocument(Module1& m, const DocumentEntry& entry) {
    return writeSave(m, entry, Lookup::Absent, [&m, &entry] {
        return writeParty(*m.rsCliEC, entry) && writeHeader(*m.rsFacture, entry) &&
               writeLines(*m.rsDetFact, entry);
    });
}

WriteResult writeCreditNote(Module1& m, const DocumentEntry& entry) {
    return writeSave(m, entry, Lookup::Found, [&m, &entry] {
        RecordSet& f = *m.rsFacture;
        return f.Edit() && f.SetField(QStringLiteral("Avoir"), true) && f.Update() &&
               writeLines(*m.rsAvoir, entry);
    });
}

} // namespace pylon
