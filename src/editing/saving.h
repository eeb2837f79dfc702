#pragma once
// "&Valider": stores the document being entered — its client row, its header and its lines — in one
// transaction, or the lines of a credit note on the document it is attached to.
namespace pylon {

struct Session;

void saveEntry(Session& m);
void Command6_Click(Session& m);

void wireSaving(Session& m);

} // namespace pylon
