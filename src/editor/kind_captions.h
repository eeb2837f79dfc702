#pragma once
// What the editor's captions read for each kind of document: its title, the list and client buttons and
// the five header labels.
#include "store/kinds.h"

#include <QString>

class QWidget;
namespace Ui {
class Form1;
}

namespace pylon {

struct KindCaptions {
    QString title;    // the editor window
    QString command7; // the button listing the documents of the kind
    QString command9; // the button listing the clients, or the suppliers for purchase orders
    QString label7;   // beside txtNumFact
    QString label1;   // beside txtDateFact
    QString label2;   // beside txtNumCli
    QString label3;   // beside txtNomCli
    QString label4;   // beside txtAdrCli
};

const KindCaptions& kindCaptions(DocKind kind);

// Puts the captions of the kind on the editor window and its controls.
void applyKindCaptions(DocKind kind, QWidget& editor, Ui::Form1& ui);

} // namespace pylon
