#pragma once
// The number proposed for a new document, from the headers the editor shares.
#include "app/module1.h"
#include "store/numbering.h"

namespace pylon {

inline qlonglong nextNumber(Module1& m, DocKind kind) {
    return nextNumber(m.rsFacture.get(), kind);
}

} // namespace pylon
