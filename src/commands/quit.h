#pragma once
// "&Quitter": ends the program at once, through the editor's own closing (the record sets, the database,
// then the other windows). Nothing unsaved is written and nothing is asked; the day's snapshot of the
// file is taken again (daily_backup.h).
namespace pylon {

struct Session;

void quitProgram(Session& m);
void Command14_Click(Session& m);

void wireQuit(Session& m);

} // namespace pylon
