#pragma once
// "Reprendre la saisie abandonnée…": the last entries dropped (by "&Annuler", a step, "Aj&outer" again, a
// command, the window closed, or the program's end), newest first; the one chosen begins again as a new
// entry of its kind, with its header, its "En Compte" and its lines, under its number when no document has
// taken it since, else the next one.
#include "backup/kept_entries.h"

namespace pylon {

struct Session;

// Reads the dropped entries (on the keeper's thread) and offers them.
void offerDroppedEntries(Session& m);
// Begins the entry again; false, with a message, when it cannot be (an entry under way, or the document a
// credit note was attached to gone).
bool bringBackEntry(Session& m, const kept_entries::KeptEntry& e);

void wireDroppedEntries(Session& m);

} // namespace pylon
