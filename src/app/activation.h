#pragma once
// Qt activates a window again when a message box over it closes. The editor's activation handler must
// run when the user comes back to the editor (at start, from another window of the program or from
// another program), not each time one of its own message or input boxes closes.
class QWidget;

namespace pylon {

// Starts watching which window of the application was active last. Call once the application exists.
void watchActivations();
// True when the activation of window that is being delivered now comes from the user rather than from
// a dialog box of the program closing.
bool isUserActivation(QWidget* window);

} // namespace pylon
