#include "editing/edit_mode.h"

#include "editing/line_entry.h"
#include "editor/form1.h"
#include "editor/session.h"
#include "editor/show_document.h"

namespace pylon {

void enterEditMode(Session& m, bool clientEditable) {
    Ui::Form1& ui = m.form1->ui;
    m.editing = true;
    ui.Command6->setEnabled(true);
    ui.Command10->setEnabled(true);
    if (clientEditable) ui.Check1->setEnabled(true);
}

void leaveEditMode(Session& m) {
    Ui::Form1& ui = m.form1->ui;
    m.editing = false;
    ui.txtPointeur->hide();
    pointer::park(m);
    ui.Command6->setEnabled(false);
    ui.Command10->setEnabled(false);
    ui.Check1->setEnabled(false);
}

void abandonEntry(Session& m) {
    ShowCurrentDocument(m);
    leaveEditMode(m);
    m.CurrentLine = 0;
    m.form1->ui.txtNumFact->setFocus();
}

void Command10_Click(Session& m) {
    abandonEntry(m);
}

} // namespace pylon
