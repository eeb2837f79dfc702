#pragma once
namespace pylon {

struct Module1;

void wireMonthEnd(Module1& m);

} // namespace pylon
