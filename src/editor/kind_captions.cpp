#include "editor/kind_captions.h"

#include "ui_Form1.h"

namespace pylon {

const KindCaptions& kindCaptions(DocKind kind) {
    return kindInfo(kind).captions;
}

void applyKindCaptions(DocKind kind, QWidget& editor, Ui::Form1& ui) {
    const KindCaptions& c = kindCaptions(kind);
    editor.setWindowTitle(c.title);
    ui.Command7->setText(c.command7);
    ui.Command9->setText(c.command9);
    ui.Label7->setText(c.label7);
    ui.Label1->setText(c.label1);
    ui.Label2->setText(c.label2);
    ui.Label3->setText(c.label3);
    ui.Label4->setText(c.label4);
}

} // namespace pylon
