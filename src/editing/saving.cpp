#include "editing/saving.h"

namespace pylon {

void wireSaving(Module1&) {}

} // namespace pylon
