#include "documents/document_entry.h"

#include "store/recordset.h"

namespace pylon {

bool writeParty(RecordSet& parties, const DocumentEntry& entry) {
    const Lookup party = lookUp(parties, QStringLiteral("NumCli=") + entry.client.trimmed());
    if (party == Lookup::Failed) return false;
    if (party == Lookup::Found) {
        // A party keeps the supplier flag it was created with; only "En Compte" follows the entry.
        return parties.Edit() && parties.SetField(QStringLiteral("ClientC"), entry.onAccount) &&
               parties.Update();
    }
    return parties.AddNew() && parties.SetField(QStringLiteral("NumCli"), entry.client) &&
           parties.SetField(QStringLiteral("ClientC"), entry.onAccount) &&
           (entry.kind != DocKind::Order || parties.SetField(QStringLiteral("Frs"), true)) &&
           parties.Update();
}

bool writeHeader(RecordSet& headers, const DocumentEntry& entry) {
    return headers.AddNew() && headers.SetField(QStringLiteral("NumFact"), entry.number) &&
           headers.SetField(QStringLiteral("DateFact"), entry.date) &&
           headers.SetField(QStringLiteral("NumCli"), entry.client) &&
           headers.SetField(QStringLiteral("NomCli"), entry.name) &&
           headers.SetField(QStringLiteral("AdrCli"), entry.address) &&
           headers.SetField(QStringLiteral("TypeFact"), kindInfo(entry.kind).stored) && headers.Update();
}

bool writeLines(RecordSet& lines, const DocumentEntry& entry) {
    static const char* const fields[] = {"NB", "Qt", "Design", "PU", "Mnt"};
    for (const QStringList& line : entry.lines) {
        if (!lines.AddNew() || !lines.SetField(QStringLiteral("NumFact"), entry.number)) return false;
        for (int c = 0; c < 5; ++c) {
            const QString text = c < line.size() ? line[c] : QString();
            if (!lines.SetField(QString::fromLatin1(fields[c]), text.isEmpty() ? QStringLiteral(" ") : text))
                return false;
        }
        if (!lines.Update()) return false;
    }
    return true;
}

} // namespace pylon
