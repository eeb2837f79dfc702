#pragma once
// The main menu window: which kind of document the editor works on.
namespace pylon {

struct Module1;

void wireMenu(Module1& m);

} // namespace pylon
