#pragma once
namespace pylon {

struct Session;

// "&Supprimer": after a question worded for the current kind, deletes the document numbered on screen
// with its lines, and its client's or supplier's row when it was their last document; in the
// credit-note kind, deletes only the credit note and keeps its document. Then shows the last document
// of the kind.
void deleteShownDocument(Session& m);
void Command8_Click(Session& m);

void wireDeletion(Session& m);

} // namespace pylon
