#include "commands/quit.h"

#include "editor/form1.h"
#include "editor/session.h"
#include "safety/daily_backup.h"

namespace pylon {

void quitProgram(Session& m) {
    // The day's snapshot again, with the day's work: taken on its own thread while the editor closes, and
    // the program ends once it is written.
    backupAtQuit(m);
    // Closing the editor runs the release sequence once, whether it comes from here or from the close box;
    // with no window left the application ends.
    m.form1->close();
}

void Command14_Click(Session& m) {
    quitProgram(m);
}

void wireQuit(Session& m) {
    Session* mp = &m;
    m.form1->onButton(EditorButton::Quit, [mp] { Command14_Click(*mp); });
}

} // namespace pylon
