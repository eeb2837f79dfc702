#pragma once
// "&Quitter": ends the program at once, through the editor's own closing (the record sets, the database,
// then the other windows). Nothing unsaved is written and nothing is asked.
namespace pylon {

struct Module1;

void Command14_Click(Module1& m);

void wireQuit(Module1& m);

} // namespace pylon
