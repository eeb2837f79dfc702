#pragma once
// The list of the documents of the current kind: number, date, client number and type.
namespace pylon {

struct Module1;

// Fills the list window with the documents of the current kind and opens it.
void Command7_Click(Module1& m);

} // namespace pylon
