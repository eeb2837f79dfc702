#pragma once
// "A&uteur": shows the author box, made on first use and the same window every time after.
namespace pylon {

struct Session;

void showAuthorBox(Session& m);
void Command13_Click(Session& m);

void wireAuthorBox(Session& m);

} // namespace pylon
