#pragma once
// A copy of the database file taken while the program may be writing to it: through SQLite's online backup
// API on connections of its own, never by copying the file (whose latest saves may still be in its log).
// The copy holds the file as it stood at one moment, is written under a temporary name, checked, and only
// then given its name, so that a copy bearing the name is always whole.
#include <QString>

namespace pylon::file_guard {
class ExclusiveHold;
}

namespace pylon::snapshot {

// How a copy or a check went. `code` is SQLite's extended result code of the failure (db_errors.h tells the
// user what it means); `detail` says in English what failed, for the database tool.
struct Outcome {
    bool ok = false;
    int code = 0;
    QString detail;

    static Outcome done() { return {true, 0, {}}; }
    static Outcome failed(int code, const QString& detail) { return {false, code, detail}; }
};

// Copies the database at `source`, the saves waiting in its log included, into `target`, replacing a file
// of that name only once the new copy is complete and sound. Writers of the source go on meanwhile: the
// copy is read in one read transaction, which the log lets them work around. The copy is a file of its own
// (no log beside it), ready to be opened, checked or restored.
Outcome copyDatabase(const QString& source, const QString& target);

// The same, of a file this process holds alone (file_guard::ExclusiveHold), through the hold's own
// connection: nobody else can read it meanwhile.
Outcome copyHeldDatabase(const file_guard::ExclusiveHold& held, const QString& source, const QString& target);

// Whether the file is a sound copy of one of our databases: SQLite's quick_check finds nothing wrong and
// the four tables are there. Only reads.
Outcome checkCopy(const QString& path);

// Makes `target` hold the database of `copy`, which must have passed checkCopy: written beside it under a
// temporary name, checked, and put in place over it (putInPlace). Nothing must have the target open
// meanwhile: the caller holds it (file_guard::ExclusiveHold), with its log already copied into it.
Outcome replaceWithCopy(const QString& copy, const QString& target);

// Gives a complete, checked file (beside the target) the target's name: the log files left beside that
// name are removed first, since SQLite would apply them to the new file, and refused while another
// program still uses them; afterwards, the file under the name must be the one given, with no log beside
// it. A failure before the rename leaves the target as it was.
Outcome putInPlace(const QString& file, const QString& target);

// Renames `from` to `to`, replacing `to`, and makes the rename last through a power cut.
bool renameDurably(const QString& from, const QString& to);

} // namespace pylon::snapshot
