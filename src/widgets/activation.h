#pragma once
// Qt activates a window again when a message box over it closes, and when the user comes back to the
// program from another one. The editor's activation handler must run when the editor becomes the active
// window of the program again (at start, or on return from another of its windows: the menu, the list
// window, the line dialog), not each time one of its own message or input boxes closes, nor each time the
// user switches back from another program.
class QWidget;

namespace pylon {

// Starts watching which window of the application was active last. Call once the application exists.
void watchActivations();
// True when the activation of `window` that is being delivered now is its first one, or a return to it
// from another window of the program; false when it follows a dialog box of the program closing or the
// user coming back from another program.
bool isUserActivation(QWidget* window);

} // namespace pylon
