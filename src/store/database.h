#pragma once
// A thin owner of one SQLite connection, opened the way every part of the program needs it:
// write-ahead log, full synchronous commits, the Month() function registered.
// A file the program may read but not write is opened for reading only: its documents can still be
// browsed, and every write is refused before it starts.
// Nothing is written to an existing file before it has passed the checks the caller asks for: they are
// made through a connection that can only read.
#include <QByteArray>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace pylon {

class Statement;

class Database {
  public:
    // ReadWrite falls back to reading only when the file or its folder cannot be written.
    enum class Mode { ReadWrite, Create, ReadOnly };
    // Whether an existing file is the one the caller expects (its tables are there, say, and it is not
    // damaged). Asked through the read-only connection, before anything can be written to the file.
    using Acceptance = std::function<bool(Database&)>;

    Database() = default;
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens an existing file (ReadWrite, ReadOnly) or creates a new one (Create). Returns false with
    // lastError() set; a file refused by `accept` gives db_errors::kNotOurs. A read-only connection never
    // copies the write-ahead log into the file, not even when it is closed.
    bool open(const QString& path, Mode mode = Mode::ReadWrite, const Acceptance& accept = {});
    void close();
    // Copies the write-ahead log into the file and empties the log (PRAGMA wal_checkpoint(TRUNCATE)), for
    // the end of a run: the file alone then holds every save, and can be copied or read on its own. Waits
    // at most `waitMs` for another program's reads or writes, and then folds in what it can: nothing is
    // lost either way, the rest stays in the log. Does nothing on a connection that only reads, and on a
    // file that was deleted or replaced. True when the log was folded in whole.
    bool foldLog(int waitMs = 300);
    // The file was found damaged while open: it is closed without its log being copied into it, so that
    // it stays as it was found, and the damage becomes the last failure (what a write is refused with).
    void closeAsDamaged(const QString& problem);
    // Reads the whole file once (PRAGMA quick_check). False, with the reason as the last failure, when the
    // file is damaged or could not be read; true when it is sound, and also when `goOn` (asked every few
    // thousand steps) says to stop before the end: nothing was found.
    bool checkForDamage(const std::function<bool()>& goOn = {});
    // Stops whatever statement is running on the connection, from any thread: it fails as interrupted.
    // Lost when no statement is running yet.
    void interrupt();
    bool isOpen() const { return db_ != nullptr; }
    QString path() const { return path_; }
    // The file was opened for reading only (its permissions, its folder's, or Mode::ReadOnly).
    bool readOnly() const { return readOnly_; }
    // True when the file at path() is no longer the one opened: deleted, renamed or replaced. Writes would
    // then go into a file nobody will ever open again.
    bool fileHasMoved() const;
    // How long a write waits for another program to finish its own before giving up (milliseconds).
    void setBusyTimeout(int ms);
    int busyTimeout() const { return busyTimeoutMs_; }
    // Opening for writing leaves the file in the journal mode it has, rather than putting it in the
    // write-ahead-log mode: for a file not yet read for damage, which that switch would write into.
    void keepJournalModeOnOpen(bool keep) { keepJournalMode_ = keep; }

    // Runs one or more statements without results.
    bool exec(const QString& sql);
    // Runs one statement with bound parameters, without results.
    bool exec(const QString& sql, const std::vector<QVariant>& params);
    // First column of the first row, or an invalid QVariant when there is no row or on error.
    QVariant scalar(const QString& sql, const std::vector<QVariant>& params = {});

    std::unique_ptr<Statement> prepare(const QString& sql);

    // Starts a write (BEGIN IMMEDIATE). Refused at once when the file is read-only or has moved.
    bool begin();
    bool commit();
    bool rollback();
    bool inTransaction() const;

    qint64 lastInsertRowId() const;
    int changes() const;
    // Rows written through this connection since it was opened: tells whether anything changed.
    qint64 totalChanges() const;
    QString lastError() const { return lastError_; }
    // SQLite's extended result code of the last failure; 0 once cleared.
    int lastErrorCode() const { return lastErrorCode_; }
    // The last failure in the user's words: what happened to the file and what to do (db_errors.h).
    QString failureText() const;
    // A failure of the program's own; code -1 means a plain error (or none, when e is empty).
    void setError(const QString& e, int code = -1);
    // Takes the message and code of the failure SQLite has just reported on this connection.
    void recordEngineError();
    sqlite3* handle() const { return db_; }

  private:
    enum class Access { ReadWrite, Create, ReadOnly, AsItStands };
    bool connect(const QString& path, Access access);
    // Read-only, or as it stands where SQLite cannot make its log files; refused when the file's log holds
    // saved changes that reading it as it stands would miss.
    bool connectForReading(const QString& path);
    void fail();

    sqlite3* db_ = nullptr;
    QString path_;
    QString lastError_;
    int lastErrorCode_ = 0;
    bool readOnly_ = false;
    bool asItStands_ = false;
    int busyTimeoutMs_ = 3000;
    bool keepJournalMode_ = false;
};

// A prepared statement; columns and parameters are 0-based.
class Statement {
  public:
    Statement(Database& db, sqlite3_stmt* stmt) : db_(db), stmt_(stmt) {}
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool bind(int index, const QVariant& value);
    bool bindAll(const std::vector<QVariant>& values);
    // True while a row is available; false at the end or on error (see ok()).
    bool step();
    bool ok() const { return ok_; }
    bool reset();

    int columnCount() const;
    QString columnName(int i) const;
    // The table a result column comes from, when SQLite can tell; empty otherwise.
    QString columnTable(int i) const;
    QVariant value(int i) const;
    // A whole number without making a QVariant of it, for walks of a million rows; nullopt when the
    // column holds anything else.
    std::optional<qint64> wholeNumber(int i) const;

  private:
    Database& db_;
    sqlite3_stmt* stmt_;
    bool ok_ = true;
    mutable std::vector<std::pair<QByteArray, QString>> recent_;
};

// Rolls back unless commit() was called: a write of several rows lands whole or not at all.
class Transaction {
  public:
    explicit Transaction(Database& db) : db_(db), active_(db.begin()) {}
    ~Transaction() {
        if (active_) db_.rollback();
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    bool active() const { return active_; }
    bool commit() {
        if (!active_) return false;
        active_ = false;
        return db_.commit();
    }

  private:
    Database& db_;
    bool active_;
};

} // namespace pylon
