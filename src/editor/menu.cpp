#include "editor/menu.h"

namespace pylon {

void wireMenu(Module1&) {}

} // namespace pylon
