#pragma once
namespace pylon {

struct Module1;

// Back to showing stored documents: the line pointer hidden and parked on the first cell, empty;
// "&Valider", "&Annuler" and "En Compte" disabled.
void leaveEditMode(Module1& m);

// "&Annuler": drops the entry and shows again the document that was current before it.
void Command10_Click(Module1& m);

} // namespace pylon
