#pragma once
namespace pylon {

struct Module1;

void wireCancelling(Module1& m);

} // namespace pylon
