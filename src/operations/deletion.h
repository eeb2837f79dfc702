#pragma once
namespace pylon {

struct Module1;

void wireDeletion(Module1& m);

} // namespace pylon
