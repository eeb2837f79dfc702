#include "module/deletion.h"

#include "documents/left_behind.h"
#include "store/recordset.h"

namespace pylon {

std::optional<int> documentNumberIn(const QString& text) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(n) : std::nullopt;
}

namespace {

// Deletes every row of `table` that meets the criteria; false when one cannot be read or deleted.
bool deleteAll(Database& db, const QString& table, const QString& criteria) {
    const auto rs = RecordSet::open(db, table);
    if (!rs) return false;
    bool found = rs->FindFirst(criteria);
    while (found && !rs->NoMatch()) {
        if (!rs->Delete()) return false;
        found = rs->FindNext(criteria);
    }
    return found;
}

// The document with its lines and credit-note lines, then its party's row when no document of theirs is
// left. The party is the deleted document's own, read from its header: the client number field may have
// been typed over since the document was shown.
bool deleteDocumentRows(Database& db, std::optional<int> number) {
    if (!number) return true;
    const FoundRow header =
        lookUpIn(db, QStringLiteral("Facture"), QStringLiteral("NumFact=%1").arg(*number));
    if (header.found == Lookup::Failed) return false;
    std::optional<int> party;
    if (header.found == Lookup::Found) {
        if (const auto cli = header.rs->Fields(QStringLiteral("NumCli")); cli && !cli->isNull())
            party = documentNumberIn(cli->toString());
        if (!header.rs->Delete()) return false;
    }
    if (!deleteOrphanLines(db, *number)) return false;
    if (!party) return true;
    const auto left = partyHasDocuments(db, *party);
    if (!left) return false;
    return *left || deleteAll(db, QStringLiteral("CliEC"), QStringLiteral("NumCli=%1").arg(*party));
}

// The credit note only: its lines go and its document is no longer marked as having one.
bool deleteCreditNoteRows(Database& db, std::optional<int> number) {
    if (!number) return true;
    const QString criteria = QStringLiteral("NumFact=%1").arg(*number);
    if (!deleteAll(db, QStringLiteral("AVOIR"), criteria)) return false;
    const FoundRow header = lookUpIn(db, QStringLiteral("Facture"), criteria);
    if (header.found != Lookup::Found) return header.found == Lookup::Absent;
    RecordSet& row = *header.rs;
    return row.Edit() && row.SetField(QStringLiteral("Avoir"), false) && row.Update();
}

} // namespace

WriteResult deleteDocument(Database& db, std::optional<int> number) {
    return runWrite(db, [&] { return WriteResult::doneIf(deleteDocumentRows(db, number)); });
}

WriteResult deleteCreditNote(Database& db, std::optional<int> number) {
    return runWrite(db, [&] { return WriteResult::doneIf(deleteCreditNoteRows(db, number)); });
}

} // namespace pylon
