#pragma once
// A thin owner of one SQLite connection, opened the way every part of the program needs it:
// write-ahead log, full synchronous commits, the Month() function registered.
#include <QByteArray>
#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace pylon {

class Statement;

class Database {
  public:
    enum class Mode { ReadWrite, Create };

    Database() = default;
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens an existing file (ReadWrite) or creates a new one (Create). Returns false with lastError() set.
    bool open(const QString& path, Mode mode = Mode::ReadWrite);
    void close();
    bool isOpen() const { return db_ != nullptr; }
    QString path() const { return path_; }

    // Runs one or more statements without results.
    bool exec(const QString& sql);
    // Runs one statement with bound parameters, without results.
    bool exec(const QString& sql, const std::vector<QVariant>& params);
    // First column of the first row, or an invalid QVariant when there is no row or on error.
    QVariant scalar(const QString& sql, const std::vector<QVariant>& params = {});

    std::unique_ptr<Statement> prepare(const QString& sql);

    bool begin();
    bool commit();
    bool rollback();
    bool inTransaction() const;

    qint64 lastInsertRowId() const;
    int changes() const;
    // Rows written through this connection since it was opened: tells whether anything changed.
    qint64 totalChanges() const;
    QString lastError() const { return lastError_; }
    void setError(const QString& e) { lastError_ = e; }
    sqlite3* handle() const { return db_; }

  private:
    sqlite3* db_ = nullptr;
    QString path_;
    QString lastError_;
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
