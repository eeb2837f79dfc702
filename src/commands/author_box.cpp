#include "commands/author_box.h"

#include "commands/form3.h"
#include "editor/form1.h"
#include "editor/session.h"

namespace pylon {

void showAuthorBox(Session& m) {
    if (!m.form3) m.form3 = std::make_unique<Form3>();
    // Modeless: the editor stays usable while the box is up.
    m.form3->show();
    m.form3->raise();
    m.form3->activateWindow();
}

void Command13_Click(Session& m) {
    showAuthorBox(m);
}

void wireAuthorBox(Session& m) {
    Session* mp = &m;
    m.form1->onButton(EditorButton::Author, [mp] { Command13_Click(*mp); });
}

} // namespace pylon
