#pragma once
namespace pylon {

struct Session;

// "Aj&outer": beginNewDocument.
void Command5_Click(Session& m);

// Begins a new document of the current kind with the next number and today's date, in edit mode; in the
// credit-note kind, opens the list of documents a credit note can be attached to instead.
void beginNewDocument(Session& m);

// Empties the lines, the totals (to "0") and the words for a new entry.
void clearForEntry(Session& m);

void wireNewDocument(Session& m);

} // namespace pylon
