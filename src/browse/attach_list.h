#pragma once
namespace pylon {

struct Module1;

// Fills the list window with every stored document, to pick the one a new credit note is attached to.
void showAttachList(Module1& m);

} // namespace pylon
