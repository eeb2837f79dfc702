#include "operations/office.h"

namespace pylon {

void wireOffice(Module1&) {}

} // namespace pylon
