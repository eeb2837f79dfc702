#pragma once
// "&Valider": stores the document being entered — its client row, its header and its lines — in one
// transaction, or the lines of a credit note on the document it is attached to.
namespace pylon {

struct Module1;

void Command6_Click(Module1& m);

void wireSaving(Module1& m);

} // namespace pylon
