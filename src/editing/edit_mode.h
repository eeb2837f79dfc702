#pragma once
namespace pylon {

struct Session;

// An entry begins: "&Valider" and "&Annuler" enabled, and "En Compte" too when the entry may change the
// client's flag (a new document; a credit note shows the flag without changing it).
void enterEditMode(Session& m, bool clientEditable);

// Back to showing stored documents: the line pointer hidden and parked on the first cell, empty;
// "&Valider", "&Annuler" and "En Compte" disabled.
void leaveEditMode(Session& m);

// Drops the entry and shows again the document that was current before it.
void abandonEntry(Session& m);
void Command10_Click(Session& m); // "&Annuler"

} // namespace pylon
