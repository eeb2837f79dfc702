#pragma once
// The number proposed for a new document, from the headers the editor shares.
#include "editor/session.h"
#include "store/numbering.h"

namespace pylon {

inline qlonglong nextNumber(Session& m, DocKind kind) {
    return nextNumber(m.rsFacture.get(), kind);
}

} // namespace pylon
