#pragma once
// What the user is told when the database file refuses a read or a write: what happened to the file and
// what to do about it, in French, from SQLite's extended result code. Every message that reports a failed
// write goes through here, so that one fault always reads the same wherever it happens.
#include <QString>

namespace pylon::db_errors {

// The file has been deleted, renamed or replaced since it was opened: SQLite's own code for it, which
// Database also gives when it refuses to write for that reason.
inline constexpr int kFileMoved = 1032; // SQLITE_READONLY_DBMOVED
// The file cannot be opened, or is not there at all.
inline constexpr int kCantOpen = 14; // SQLITE_CANTOPEN
// Saved changes still wait in the file's write-ahead log, which cannot be read in a folder that may not be
// written: SQLite's code for a log that needs writing to be read.
inline constexpr int kUnappliedLog = 264; // SQLITE_READONLY_RECOVERY
// The file is a database, but not one of this program's (its tables are not there).
inline constexpr int kNotOurs = 26; // SQLITE_NOTADB

// The faults of the file or its disk, as opposed to a value or a rule the data broke.
// Damaged is a database with broken insides; NotADatabase a file that is no SQLite database at all.
// UnappliedLog is a file whose latest saves are still in a log this process cannot read.
enum class Fault {
    None,
    ReadOnly,
    Moved,
    UnappliedLog,
    Busy,
    Full,
    Io,
    Damaged,
    NotADatabase,
    CantOpen,
    NoMemory
};

Fault faultOf(int code);

// True when nothing will change until the program is started again (or the file put back): the entry
// on screen then had better be noted before closing.
bool needsRestart(int code);

// One or two sentences, the first one starting in lower case so that it can follow "… : ": what happened
// and, on a new line, what to do. For a failure that is not the file's, the engine's message as it is.
QString explain(int code, const QString& path, const QString& engineMessage);

} // namespace pylon::db_errors
