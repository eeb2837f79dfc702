#pragma once
// The entries typed in the editor, kept while they are typed and once dropped (module/entry_keeping.h), and
// the notice that says, at the start of a run, that the last one ended in the middle of an entry.
#include "backup/kept_entries.h"

#include <QString>

namespace pylon {

struct Session;

// Starts keeping the entries on the file the editor opened (none on a file that cannot be written): the
// keeper's thread, and the entry's state handed to it every second while an entry is under way.
void startKeepingEntries(Session& m);
// An entry still under way is dropped, and kept; the keeper writes what waits and ends. Before the file is
// closed.
void stopKeepingEntries(Session& m);

// One kept entry in a line, for the user: when, what, whose, how many lines.
QString describeKeptEntry(const kept_entries::KeptEntry& e);

} // namespace pylon
