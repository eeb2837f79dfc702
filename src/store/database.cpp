#include "store/database.h"

#include "store/db_errors.h"
#include "store/sql_functions.h"
#include "store/wal_log.h"

#include <QByteArray>
#include <QDate>
#include <QFileInfo>
#include <QUrl>
#include <sqlite3.h>

namespace pylon {

namespace {

// Month(d): the month number of a stored date text 'YYYY-MM-DD'; NULL when it is not a date.
void monthFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (argc != 1 || sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const int length = sqlite3_value_bytes(argv[0]);
    // A month-end invoice asks this of every document of a client: the stored form is read as it is,
    // without making a string of it first.
    const auto digits = [text](int at, int count) {
        int n = 0;
        for (int i = at; i < at + count; ++i) {
            if (text[i] < '0' || text[i] > '9') return -1;
            n = n * 10 + (text[i] - '0');
        }
        return n;
    };
    const bool stored = text && length >= 10 && text[4] == '-' && text[7] == '-' &&
                        (length == 10 || text[10] == ' ' || text[10] == 'T');
    const int year = stored ? digits(0, 4) : -1, month = stored ? digits(5, 2) : -1;
    const int day = stored ? digits(8, 2) : -1;
    const QDate d = !stored ? QDate::fromString(QString::fromUtf8(text).left(10), Qt::ISODate)
                    : year > 0 && month > 0 && day > 0 ? QDate(year, month, day)
                                                       : QDate();
    if (d.isValid())
        sqlite3_result_int(ctx, d.month());
    else
        sqlite3_result_null(ctx);
}

} // namespace

Database::~Database() {
    close();
}

bool Database::connect(const QString& path, Access access) {
    close();
    int flags = SQLITE_OPEN_READWRITE;
    QByteArray name = path.toUtf8();
    if (access == Access::Create) flags |= SQLITE_OPEN_CREATE;
    if (access == Access::ReadOnly) flags = SQLITE_OPEN_READONLY;
    if (access == Access::AsItStands) {
        // Nothing can be made beside the file, not even the log files SQLite reads a shared file through:
        // the file is read as it stands on disk.
        flags = SQLITE_OPEN_READONLY | SQLITE_OPEN_URI;
        name = "file:" + QUrl::toPercentEncoding(path, "/") + "?immutable=1";
    }
    // A connection is only ever used by one thread at a time (the damage check's is handed to its thread
    // once opened), so SQLite need not lock it around every call: the lists make millions of calls.
    flags |= SQLITE_OPEN_NOMUTEX;
    sqlite3* handle = nullptr;
    if (sqlite3_open_v2(name.constData(), &handle, flags, nullptr) != SQLITE_OK) {
        lastError_ = handle ? QString::fromUtf8(sqlite3_errmsg(handle)) : QStringLiteral("out of memory");
        lastErrorCode_ = handle ? sqlite3_extended_errcode(handle) : SQLITE_NOMEM;
        sqlite3_close(handle);
        return false;
    }
    db_ = handle;
    path_ = path;
    readOnly_ = access == Access::ReadOnly || access == Access::AsItStands;
    asItStands_ = access == Access::AsItStands;
    // A connection that only reads never copies the log into the file either, even as the last one out.
    if (readOnly_) sqlite3_db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, busyTimeoutMs_);
    sqlite3_create_function(db_, "Month", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, monthFunction,
                            nullptr, nullptr);
    registerSqlFunctions(db_);
    // Reading the schema proves that the file is a database at all.
    return exec(QStringLiteral("SELECT count(*) FROM sqlite_master"));
}

bool Database::connectForReading(const QString& path) {
    if (connect(path, Access::ReadOnly)) return true;
    // A folder this process may not write: SQLite cannot make the files it reads a shared file through.
    const int primary = lastErrorCode_ & 0xff;
    if ((primary != SQLITE_READONLY && primary != SQLITE_CANTOPEN) || !QFileInfo::exists(path)) return false;
    // Read as it stands, the file would lack the saves still waiting in its log: older documents would be
    // shown as if they were the latest.
    if (wal_log::holdsUnappliedCommits(path)) {
        close();
        setError(QStringLiteral("the write-ahead log holds saved changes and cannot be read"),
                 db_errors::kUnappliedLog);
        return false;
    }
    return connect(path, Access::AsItStands);
}

// Closes after a failed opening, keeping the reason, without letting SQLite copy its log into a file that
// has just been found damaged: such a file is left exactly as it was found.
void Database::fail() {
    const QString e = lastError_;
    const int code = lastErrorCode_;
    if (db_) sqlite3_db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    close();
    lastError_ = e;
    lastErrorCode_ = code;
}

bool Database::open(const QString& path, Mode mode, const Acceptance& accept) {
    close();
    lastError_.clear();
    lastErrorCode_ = 0;
    // Named in the messages even when it cannot be opened.
    path_ = path;
    if (mode == Mode::Create) {
        if (!connect(path, Access::Create)) {
            fail();
            return false;
        }
    } else {
        // Whatever decides whether the file may be used is read through a connection that cannot write:
        // a file found damaged, or not the one the caller expects, is left byte for byte as it was.
        if (!connectForReading(path)) {
            fail();
            return false;
        }
        if (accept && !accept(*this)) {
            if (lastErrorCode_ == SQLITE_OK)
                setError(QStringLiteral("the file is not the expected database"), db_errors::kNotOurs);
            fail();
            return false;
        }
        // Only now may the file be written. Where SQLite cannot make its log files the file is read as it
        // stands; a connection that cannot write after all goes back to reading.
        if (mode == Mode::ReadWrite && !asItStands_ && !connect(path, Access::ReadWrite) &&
            !connectForReading(path)) {
            fail();
            return false;
        }
    }
    // A file this process may not write is opened read-only by SQLite itself. A log that grew long while
    // something held it (a list's moment, another program's read) is cut back to about the size of
    // SQLite's automatic checkpoint each time a save starts it again from the top.
    readOnly_ = readOnly_ || sqlite3_db_readonly(db_, "main") == 1;
    const QString settings = QStringLiteral("PRAGMA synchronous=FULL; PRAGMA foreign_keys=OFF;");
    if (!exec(readOnly_          ? settings
              : keepJournalMode_ ? settings + QStringLiteral(" PRAGMA journal_size_limit=4194304;")
                                 : QStringLiteral("PRAGMA journal_mode=WAL; ") + settings +
                                       QStringLiteral(" PRAGMA journal_size_limit=4194304;"))) {
        fail();
        return false;
    }
    return true;
}

namespace {

int stopWhenAsked(void* goOn) {
    return (*static_cast<const std::function<bool()>*>(goOn))() ? 0 : 1;
}

} // namespace

bool Database::checkForDamage(const std::function<bool()>& goOn) {
    if (goOn) sqlite3_progress_handler(db_, 10000, stopWhenAsked, const_cast<std::function<bool()>*>(&goOn));
    QString problem;
    bool ran = false;
    {
        auto st = prepare(QStringLiteral("PRAGMA quick_check(1)"));
        while (st && st->step()) {
            const QString r = st->value(0).toString();
            if (r != u"ok") problem = r;
        }
        ran = st && st->ok();
    }
    if (goOn) sqlite3_progress_handler(db_, 0, nullptr, nullptr);
    if (!problem.isEmpty()) {
        setError(QStringLiteral("the file is damaged: %1").arg(problem), SQLITE_CORRUPT);
        return false;
    }
    if (ran) return true;
    if ((lastErrorCode_ & 0xff) != SQLITE_INTERRUPT) return false;
    setError(QString());
    return true;
}

void Database::interrupt() {
    if (db_) sqlite3_interrupt(db_);
}

void Database::closeAsDamaged(const QString& problem) {
    setError(problem, SQLITE_CORRUPT);
    fail();
}

bool Database::fileHasMoved() const {
    int moved = 0;
    if (!db_ || sqlite3_file_control(db_, "main", SQLITE_FCNTL_HAS_MOVED, &moved) != SQLITE_OK) return false;
    return moved != 0;
}

void Database::setBusyTimeout(int ms) {
    busyTimeoutMs_ = ms;
    if (db_) sqlite3_busy_timeout(db_, ms);
}

QString Database::failureText() const {
    return db_errors::explain(lastErrorCode_, path_, lastError_);
}

void Database::setError(const QString& e, int code) {
    lastError_ = e;
    lastErrorCode_ = code >= 0 ? code : (e.isEmpty() ? SQLITE_OK : SQLITE_ERROR);
}

void Database::recordEngineError() {
    lastError_ = db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QStringLiteral("database not open");
    lastErrorCode_ = db_ ? sqlite3_extended_errcode(db_) : SQLITE_MISUSE;
}

bool Database::foldLog(int waitMs) {
    if (!db_ || readOnly_ || fileHasMoved()) return false;
    sqlite3_busy_timeout(db_, waitMs);
    int logFrames = -1, folded = -1;
    const int rc = sqlite3_wal_checkpoint_v2(db_, "main", SQLITE_CHECKPOINT_TRUNCATE, &logFrames, &folded);
    sqlite3_busy_timeout(db_, busyTimeoutMs_);
    // Busy: another program still reads or writes; what it allowed was folded in, the rest waits in the
    // log, where SQLite finds it next time.
    return rc == SQLITE_OK;
}

void Database::close() {
    if (db_) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
    readOnly_ = false;
    asItStands_ = false;
}

bool Database::exec(const QString& sql) {
    if (!db_) {
        setError(QStringLiteral("database not open"), SQLITE_MISUSE);
        return false;
    }
    char* err = nullptr;
    if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        lastError_ = QString::fromUtf8(err ? err : sqlite3_errmsg(db_));
        lastErrorCode_ = sqlite3_extended_errcode(db_);
        sqlite3_free(err);
        return false;
    }
    return true;
}

bool Database::exec(const QString& sql, const std::vector<QVariant>& params) {
    auto st = prepare(sql);
    if (!st || !st->bindAll(params)) return false;
    while (st->step()) {
    }
    return st->ok();
}

QVariant Database::scalar(const QString& sql, const std::vector<QVariant>& params) {
    auto st = prepare(sql);
    if (!st || !st->bindAll(params)) return {};
    if (st->step()) return st->value(0);
    return {};
}

std::unique_ptr<Statement> Database::prepare(const QString& sql) {
    if (!db_) {
        setError(QStringLiteral("database not open"), SQLITE_MISUSE);
        return nullptr;
    }
    sqlite3_stmt* stmt = nullptr;
    const QByteArray s = sql.toUtf8();
    if (sqlite3_prepare_v2(db_, s.constData(), int(s.size()), &stmt, nullptr) != SQLITE_OK || !stmt) {
        recordEngineError();
        sqlite3_finalize(stmt);
        return nullptr;
    }
    return std::make_unique<Statement>(*this, stmt);
}

bool Database::begin() {
    if (readOnly_) {
        setError(QStringLiteral("the database was opened read-only"), SQLITE_READONLY);
        return false;
    }
    // On Linux a deleted file lives on while it is open: whatever is written now would vanish with it.
    if (fileHasMoved()) {
        setError(QStringLiteral("the database file has been deleted, renamed or replaced"),
                 db_errors::kFileMoved);
        return false;
    }
    return exec(QStringLiteral("BEGIN IMMEDIATE"));
}
bool Database::commit() {
    if (exec(QStringLiteral("COMMIT"))) return true;
    rollback();
    return false;
}
// The reason of the failure that led here is kept: it is the one the user needs to read.
bool Database::rollback() {
    // SQLite has already rolled back by itself after some failures (a full disk, an I/O error).
    if (!inTransaction()) return true;
    const QString e = lastError_;
    const int code = lastErrorCode_;
    if (exec(QStringLiteral("ROLLBACK"))) return true;
    if (code != 0) {
        lastError_ = e;
        lastErrorCode_ = code;
    }
    return false;
}
bool Database::inTransaction() const {
    return db_ && sqlite3_get_autocommit(db_) == 0;
}
qint64 Database::lastInsertRowId() const {
    return db_ ? sqlite3_last_insert_rowid(db_) : 0;
}
qint64 Database::totalChanges() const {
    return db_ ? sqlite3_total_changes64(db_) : 0;
}
int Database::changes() const {
    return db_ ? sqlite3_changes(db_) : 0;
}

} // namespace pylon
