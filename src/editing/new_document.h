#pragma once
namespace pylon {

struct Module1;

// "Aj&outer": beginNewDocument.
void Command5_Click(Module1& m);

// Begins a new document of the current kind with the next number and today's date, in edit mode; in the
// credit-note kind, opens the list of documents a credit note can be attached to instead.
void beginNewDocument(Module1& m);

// Empties the lines, the totals (to "0") and the words for a new entry.
void clearForEntry(Module1& m);

void wireNewDocument(Module1& m);

} // namespace pylon
