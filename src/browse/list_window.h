#pragma once
// The list window: documents of the current kind, clients or suppliers; a double-click acts on the editor.
namespace pylon {

struct Module1;

void wireListWindow(Module1& m);

} // namespace pylon
