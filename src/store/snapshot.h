#pragma once
// A copy of the database file taken while the program may be writing to it: through SQLite's online backup
// API on connections of its own, never by copying the file (whose latest saves may still be in its log).
// The copy holds the file as it stood at one moment, is written under a temporary name, checked, and only
// then given its name, so that a copy bearing the name is always whole.
#include <QString>

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

// Whether the file is a sound copy of one of our databases: SQLite's quick_check finds nothing wrong and
// the four tables are there. Only reads.
Outcome checkCopy(const QString& path);

// Makes `target` hold the database of `copy`, which must have passed checkCopy: written beside it under a
// temporary name, checked, and renamed over it, with whatever log and shared-memory files the replaced
// file had left beside it removed first (a log left behind would be applied to the new file). Nothing must
// have the target open meanwhile.
Outcome replaceWithCopy(const QString& copy, const QString& target);

// Renames `from` to `to`, replacing `to`, and makes the rename last through a power cut.
bool renameDurably(const QString& from, const QString& to);

} // namespace pylon::snapshot
