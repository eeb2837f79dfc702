#pragma once
// The editor's captions of each kind of document (domain/kinds.h), put on its window.
#include "domain/kinds.h"

#include <QString>

class QWidget;
namespace Ui {
class Form1;
}

namespace pylon {

const KindCaptions& kindCaptions(DocKind kind);

// Puts the captions of the kind on the editor window and its controls.
void applyKindCaptions(DocKind kind, QWidget& editor, Ui::Form1& ui);

} // namespace pylon
