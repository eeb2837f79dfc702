#include "editing/edit_mode.h"

#include "editing/line_entry.h"
#include "editor/form1.h"
#include "editor/session.h"
#include "editor/show_document.h"
#include "module/entry_keeping.h"

namespace pylon {

void enterEditMode(Session& m, bool clientEditable) {
    m.editing = true;
    m.form1->enableEntryButtons(true);
    if (clientEditable) m.form1->allowOnAccountChange(true);
    entryBegins(m);
}

void leaveEditMode(Session& m) {
    // A saved entry was forgotten already; any other is dropped here, whatever ended it.
    entryDropped(m);
    m.editing = false;
    m.form1->hidePointer();
    pointer::park(m);
    m.form1->enableEntryButtons(false);
    m.form1->allowOnAccountChange(false);
}

void abandonEntry(Session& m) {
    ShowCurrentDocument(m);
    leaveEditMode(m);
    m.CurrentLine = 0;
    m.form1->focusField(EditorField::Number);
}

void Command10_Click(Session& m) {
    abandonEntry(m);
}

} // namespace pylon
