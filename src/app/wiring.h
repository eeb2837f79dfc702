#pragma once
namespace pylon {

struct Session;

// Connects the editor's controls to the handlers of every feature. Called once, after the editor is built.
void wireEditor(Session& m);

} // namespace pylon
