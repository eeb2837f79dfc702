#pragma once
// "A&uteur": shows the author box, made on first use and the same window every time after.
namespace pylon {

struct Module1;

void Command13_Click(Module1& m);

void wireAuthorBox(Module1& m);

} // namespace pylon
