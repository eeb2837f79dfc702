#pragma once
// The editor's context menu gets the search window, a new document made after the one on screen and the
// dashboard, each with its shortcut: Ctrl+F, Ctrl+Shift+N and Ctrl+T. The search and the dashboard work
// during an entry too (a pick in the search then gives the entry its client); a new document after this one
// is offered only outside an entry.
namespace pylon {

struct Session;

// After the context menu is made (wirePrintMenu).
void wireFindMenu(Session& m);

} // namespace pylon
