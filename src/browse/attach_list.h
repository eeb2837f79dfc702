#pragma once
namespace pylon {

struct Session;

// Fills the list window with every stored document, to pick the one a new credit note is attached to.
void showAttachList(Session& m);

} // namespace pylon
