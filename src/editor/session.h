#pragma once
// The shared module together with the windows that show it. Handlers of the windows work on this; the
// state they act on is the module's, the windows only follow it.
#include "module/module1.h"

#include <QWidget>
#include <memory>

namespace pylon {

class Form1;

struct Session : Module1 {
    Form1* form1 = nullptr;
    // The other windows, each made on first use and kept, hidden, until the editor closes:
    // the list window, the author box, the main menu and the line edit dialog. They go before the
    // module's record sets and database, which they may still use while closing.
    std::unique_ptr<QWidget> form2, form3, form4, form5;
    // The search window and the dashboard, made on first use and kept like the others.
    std::unique_ptr<QWidget> searchWindow, dashboardWindow;
    // The shop's identity, found empty, was offered before a print: once is enough for a run.
    bool identityOffered = false;
};

// A command that reads through the program's indexes says, while the preparation is still making them,
// that it will be possible in a moment, and is not carried out. True when it said so.
bool sayWhileIndexesAreMade(Session& m);

} // namespace pylon
