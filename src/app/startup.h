#pragma once
// Opening and closing the run: the database and the shared record sets.
#include "module/preparation.h"

namespace pylon {

struct Session;

// Opens the database of the program's folder and the shared record sets, then shows the first invoice.
// A missing or unreadable file is said once; the editor then stays empty.
void openDatabaseAndShowFirstDocument(Session& m);
void Form1_Load(Session& m);
// Reads the open file whole for damage, on a thread of its own; damage found closes the file as it was
// found and says so, as at start. Start-up runs it once the first document is shown.
void startDamageCheck(Session& m);
// Brings the open file up to the program's indexes and kept totals on a thread of its own, with a notice
// when that lasts; nothing when `work` is empty or the file cannot be written.
void startPreparation(Session& m, PreparationWork work);
// Each time the user comes back to the editor: says so when the file holds no document at all.
void sayWhenDatabaseIsEmpty(Session& m);
void Form1_Activate(Session& m);
// Releases the record sets and the database, and closes the other windows. The database is closed at
// once unless a snapshot is being taken; endRun then closes it.
void closeDatabaseAndWindows(Session& m);
// The end of the program, once its windows are gone: waits for the snapshots asked (the one of "&Quitter"
// among them), then folds the log into the file and closes it, so that the file alone holds every save.
void endRun(Session& m);
void Form1_Unload(Session& m);

} // namespace pylon
