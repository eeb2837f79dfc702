#pragma once
namespace pylon {

struct Module1;

void wireOffice(Module1& m);

} // namespace pylon
