#pragma once
// What stands beside a database file and who else has it open, for the commands that put a file in place
// or write one. SQLite keeps a database's log in files named after it (-wal, -shm, -journal) and applies
// whatever log it finds under those names to whatever file bears the database's name: a log left beside a
// name must go before another file takes that name, and a file somebody has open must not be replaced
// under their feet.
#include <QString>
#include <QStringList>

struct sqlite3;

namespace pylon::file_guard {

// The names SQLite gives a database's log files.
QStringList companionsOf(const QString& path);

// Whether the file starts with SQLite's header ("SQLite format 3" and a zero byte).
bool isDatabaseFile(const QString& path);

// Whether the name is one of the log files of an existing file beside it (VelD-wal next to VelD).
bool isCompanionOfAFile(const QString& path);

// Whether another process has the database at `path` open: SQLite's connections hold a lock on the file
// (every connection in WAL mode, from its first read to its close) and on its shared-memory file. Only
// asks; takes no lock.
bool heldByAnother(const QString& path);

// Whether another process has the shared-memory file beside `path` open: a connection to a file of that
// name, even one deleted or moved since, is using the log files beside the name. Touches only that file,
// so it may be asked while this process holds the database itself.
bool logInUse(const QString& path);

// Removes the log files beside `path`. False when one of them is still there afterwards.
bool removeCompanions(const QString& path);

// The database at a path taken for this process alone: nobody else can open it while the hold lasts, and
// whatever its log held is first copied into the file, which is then whole by itself. Its own log files are
// then no longer needed, and closing the hold never touches a file by its name, so the hold may outlast
// the file's replacement.
class ExclusiveHold {
  public:
    enum class Result { Taken, InUse, NotADatabase };

    ExclusiveHold() = default;
    ~ExclusiveHold() { release(); }
    ExclusiveHold(const ExclusiveHold&) = delete;
    ExclusiveHold& operator=(const ExclusiveHold&) = delete;

    // InUse when another connection has the file open; NotADatabase when SQLite cannot read it as one
    // (damaged or another kind of file), with the reason in error().
    Result take(const QString& path);
    void release();
    bool held() const { return db_ != nullptr; }
    sqlite3* handle() const { return db_; }
    QString error() const { return error_; }

  private:
    sqlite3* db_ = nullptr;
    QString error_;
};

} // namespace pylon::file_guard
