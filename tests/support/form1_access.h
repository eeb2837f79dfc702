#pragma once
// The editor's controls, for the tests and benchmarks that drive them as the user does: clicking its
// buttons, typing in its fields and reading what its lists show. The program itself asks the window through
// its functions and never reaches the controls.
#include "editor/form1.h"

namespace pylon {

struct Form1TestAccess {
    static Ui::Form1& ui(Form1& editor) { return editor.ui; }
};

// An editor a test makes for itself, whose controls it reaches as `editor->ui`.
class EditorWithControls : public Form1 {
  public:
    explicit EditorWithControls(Session& m) : Form1(m), ui(Form1TestAccess::ui(*this)) {}
    Ui::Form1& ui;
};

} // namespace pylon
