#pragma once
// The list of the documents of the current kind: number, date, client number and type.
namespace pylon {

struct Session;

// Fills the list window with the documents of the current kind and opens it.
void showDocumentList(Session& m);
void Command7_Click(Session& m);

} // namespace pylon
