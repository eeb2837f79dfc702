#pragma once
// The editor's captions of each kind of document (domain/kinds.h), put on its window.
#include "domain/kinds.h"

#include <QString>

namespace pylon {

class Form1;

const KindCaptions& kindCaptions(DocKind kind);

// Puts the captions of the kind on the editor window and its controls.
void applyKindCaptions(DocKind kind, Form1& editor);

} // namespace pylon
