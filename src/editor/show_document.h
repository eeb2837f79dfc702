#pragma once
#include "documents/document_display.h"

namespace pylon {

struct Session;

// Fills the editor from the document the current view stands on: header, lines, totals with the tax,
// the total in words, the two markers, "En Compte" and the month-end button. Writes nothing.
void ShowCurrentDocument(Session& m);
// Fills the editor with a display worked out already.
void showDocumentDisplay(Session& m, const DocumentDisplay& d);
// The three total boxes show Module1::totals.
void showTotals(Session& m);

} // namespace pylon
