#pragma once
// The entry under way, followed for the keeper (module/entry_keeper.h): what it says is handed over now and
// then while it is typed, so that the program's end cannot take it, and once more when it is dropped, so
// that it can be brought back. A saved entry is forgotten. Typing itself never waits for any of it.
#include "backup/kept_entries.h"

namespace pylon {

struct Module1;

// An entry has begun, its header and lines on screen.
void entryBegins(Module1& m);
// The entry begun is one brought back: it goes on under the key it was kept with.
void entryContinues(Module1& m, qint64 keptId);
// The header or the lines on screen are about to be replaced: while they are the entry's, what the entry
// says is taken now, for its drop.
void entryLeavesScreen(Module1& m);
// Hands the entry's latest state to the keeper, when it changed.
void keepEntryUnderWay(Module1& m);
// The entry was saved as a document: there is nothing to bring back.
void entrySaved(Module1& m);
// The entry ended without being saved: kept among the dropped ones when anything was typed.
void entryDropped(Module1& m);

} // namespace pylon
