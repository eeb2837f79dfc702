#pragma once
namespace pylon {

struct Module1;

// An entry begins: "&Valider" and "&Annuler" enabled, and "En Compte" too when the entry may change the
// client's flag (a new document; a credit note shows the flag without changing it).
void enterEditMode(Module1& m, bool clientEditable);

// Back to showing stored documents: the line pointer hidden and parked on the first cell, empty;
// "&Valider", "&Annuler" and "En Compte" disabled.
void leaveEditMode(Module1& m);

// "&Annuler": drops the entry and shows again the document that was current before it.
void Command10_Click(Module1& m);

} // namespace pylon
