#pragma once
namespace pylon {

struct Module1;

void wireLineDialog(Module1& m);

} // namespace pylon
