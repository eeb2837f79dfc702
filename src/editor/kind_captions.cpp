#include "editor/kind_captions.h"

#include "editor/form1.h"

namespace pylon {

const KindCaptions& kindCaptions(DocKind kind) {
    return kindInfo(kind).captions;
}

void applyKindCaptions(DocKind kind, Form1& editor) {
    editor.showCaptions(kindCaptions(kind));
}

} // namespace pylon
