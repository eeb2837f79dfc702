#pragma once
// "Nouveau document d'après celui-ci…": begins an entry, as "Aj&outer" does, of a kind the user chooses
// (a quote becomes an invoice, a purchase order a delivery note, any kind any other), with the next number
// of that kind and today's date, and with the client and the lines of the document on screen. The user
// changes what he wants and saves with "&Valider", or drops it with "&Annuler", as for any entry. The
// document copied is left as it is.
#include "domain/kinds.h"

#include <optional>

namespace pylon {

struct Session;

// The kind proposed for a document made after one of `shown` (the kind the editor shows it in).
DocKind proposedKindAfter(DocKind shown);

// Asks the kind, then begins the entry.
void beginDocumentFromShown(Session& m);
// Begins the entry in that kind (a kind stored on headers, not the credit note). False, with a message,
// when there is nothing to copy, or too much, or when an entry is already under way.
bool beginDocumentFrom(Session& m, DocKind kind);

} // namespace pylon
