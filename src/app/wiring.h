#pragma once
namespace pylon {

struct Module1;

// Connects the editor's controls to the handlers of every feature. Called once, after the editor is built.
void wireEditor(Module1& m);

} // namespace pylon
