#pragma once
// The write-ahead log beside the database file ("VelD-wal"), read as plain bytes. Saved changes wait in it
// until SQLite copies them into the file itself; a reader that cannot use the log (its folder may not be
// written, so SQLite cannot make the index it reads the log through) sees the file without them.
#include <QString>

namespace pylon::wal_log {

// True when the log beside the database file at `path` holds committed changes that the file itself
// does not have yet: read alone, the file would show older data. Reads only; false when there is no log,
// when it holds nothing committed, or when every committed page is already in the file. A log that is
// there but cannot be read counts as holding changes.
bool holdsUnappliedCommits(const QString& path);

} // namespace pylon::wal_log
