#pragma once
namespace pylon {

struct Module1;

void wireSaving(Module1& m);

} // namespace pylon
