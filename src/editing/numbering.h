#pragma once
// The number proposed for a new document, from the headers the editor shares.
#include "documents/numbering.h"
#include "editor/session.h"

namespace pylon {

inline qlonglong nextNumber(Session& m, DocKind kind) {
    return nextNumber(m.rsFacture.get(), kind);
}

} // namespace pylon
