#pragma once
namespace pylon {

struct Module1;

void wireStatistics(Module1& m);

} // namespace pylon
