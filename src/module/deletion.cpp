#include "module/deletion.h"

#include "module/module1.h"
#include "store/database.h"

namespace pylon {

std::optional<int> documentNumberIn(const QString& text) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(n) : std::nullopt;
}

namespace {

// Deletes every row of the record set that meets the criteria; false when one cannot be deleted.
bool deleteAll(RecordSet& rs, const QString& criteria) {
    for (bool found = rs.FindFirst(criteria) && !rs.NoMatch(); found;
         found = rs.FindNext(criteria) && !rs.NoMatch())
        if (!rs.Delete()) return false;
    return true;
}

// The document with its lines and credit-note lines, then its party's row when no document of theirs is
// left. The lines go even when the file lacks the trigger that takes them with their document, so that
// they never join a later document given the same number. The party is the deleted document's own, read
// from its header: the client number field may have been typed over since the document was shown.
bool deleteDocumentRows(Module1& m, std::optional<int> number) {
    if (!m.rsFacture || !m.rsCliEC) return false;
    std::optional<int> party;
    if (number) {
        const QString criteria = QStringLiteral("NumFact=%1").arg(*number);
        if (!m.rsFacture->FindFirst(criteria)) return false;
        if (!m.rsFacture->NoMatch()) {
            if (const auto cli = m.rsFacture->Fields(QStringLiteral("NumCli")); cli && !cli->isNull())
                party = documentNumberIn(cli->toString());
            if (!m.rsFacture->Delete()) return false;
        }
        for (const char* lines : {"DetFact", "AVOIR"})
            if (!m.db.exec(QStringLiteral("DELETE FROM %1 WHERE NumFact = ? AND NOT EXISTS "
                                          "(SELECT 1 FROM Facture WHERE NumFact = ?)")
                               .arg(QLatin1String(lines)),
                           {*number, *number}))
                return false;
    }
    if (!party) return true;
    m.rsClientDocs = RecordSet::open(
        m.db, QStringLiteral("Select CliEC.*,Facture.* From CliEC INNER JOIN Facture on CliEC.NumCli = "
                             "Facture.NumCli Where CliEC.NumCli = %1")
                  .arg(*party));
    if (!m.rsClientDocs) return false;
    m.rsClientDocs->MoveFirst();
    if (!m.rsClientDocs->IsEOF()) return true;
    return deleteAll(*m.rsCliEC, QStringLiteral("NumCli=%1").arg(*party));
}

// The credit note only: its lines go and its document is no longer marked as having one.
bool deleteCreditNoteRows(Module1& m, std::optional<int> number) {
    if (!number) return true;
    if (!m.rsFacture || !m.rsAvoir) return false;
    const QString criteria = QStringLiteral("NumFact=%1").arg(*number);
    if (!deleteAll(*m.rsAvoir, criteria)) return false;
    if (!m.rsFacture->FindFirst(criteria)) return false;
    if (m.rsFacture->NoMatch()) return true;
    return m.rsFacture->Edit() && m.rsFacture->SetField(QStringLiteral("Avoir"), false) &&
           m.rsFacture->Update();
}

// One transaction; the shared record sets read the file again if it fails.
WriteResult inOneWrite(Module1& m, bool (*rows)(Module1&, std::optional<int>), std::optional<int> number) {
    return runWrite(m.db, [&] { return WriteResult::doneIf(rows(m, number)); },
                    {m.rsFacture.get(), m.rsDetFact.get(), m.rsCliEC.get(), m.rsAvoir.get()});
}

} // namespace

WriteResult deleteDocument(Module1& m, std::optional<int> number) {
    return inOneWrite(m, deleteDocumentRows, number);
}

WriteResult deleteCreditNote(Module1& m, std::optional<int> number) {
    return inOneWrite(m, deleteCreditNoteRows, number);
}

} // namespace pylon
