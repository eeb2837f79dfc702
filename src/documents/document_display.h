#pragma once
// What the editor shows of a stored document, read from the record sets and worked out once, away from
// the widgets: the header, the flags, the five columns and the totals as texts ready to be shown.
#include "domain/kinds.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace pylon {

class RecordSet;
struct StoredDocument;

struct DocumentDisplay {
    QString number, date, client, name, address;
    bool hasCreditNote = false;
    bool cancelled = false;
    // The client's "on account" flag, found by the client number shown.
    bool onAccount = false;
    // N.B., QTE, Designation, P.U. H.T and Montant H.T, one text per line; the two amount columns are
    // reformatted ("###0.00" with a comma) when they hold numbers and right-aligned.
    std::array<QStringList, 5> columns;
    // The totals, right-aligned; nullopt for a total beyond the range of amounts, whose text on screen
    // is then kept as it was.
    std::optional<QString> totalHT, tva, totalTTC;
    // The words of the total with tax, when it could be computed.
    std::optional<QString> words;
};

// Reads the document `view` stands on (none: an empty display), its lines (from `lines`, or from the view
// itself in the credit-note kind, whose view holds the credit note's lines) and its client's flag from
// `parties`. Moves the record sets, writes nothing.
DocumentDisplay readDocumentDisplay(RecordSet* view, RecordSet* lines, RecordSet* parties, DocKind kind);

// The same display for a document read whole by its number (stored_document.h), as the editor shows it in
// `kind`: the credit-note kind shows the credit note's lines.
DocumentDisplay documentDisplayOf(const StoredDocument& doc, DocKind kind);

} // namespace pylon
