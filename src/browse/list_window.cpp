#include "browse/list_window.h"

namespace pylon {

void wireListWindow(Module1&) {}

} // namespace pylon
