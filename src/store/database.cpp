#include "store/database.h"

#include <QByteArray>
#include <QDate>
#include <cstring>
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
    const QDate d = QDate::fromString(QString::fromUtf8(text).left(10), Qt::ISODate);
    if (d.isValid())
        sqlite3_result_int(ctx, d.month());
    else
        sqlite3_result_null(ctx);
}

} // namespace

Database::~Database() {
    close();
}

bool Database::open(const QString& path, Mode mode) {
    close();
    lastError_.clear();
    const int flags = SQLITE_OPEN_READWRITE | (mode == Mode::Create ? SQLITE_OPEN_CREATE : 0);
    sqlite3* handle = nullptr;
    const QByteArray p = path.toUtf8();
    if (sqlite3_open_v2(p.constData(), &handle, flags, nullptr) != SQLITE_OK) {
        lastError_ = handle ? QString::fromUtf8(sqlite3_errmsg(handle)) : QStringLiteral("out of memory");
        sqlite3_close(handle);
        return false;
    }
    db_ = handle;
    path_ = path;
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, 3000);
    sqlite3_create_function(db_, "Month", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, monthFunction,
                            nullptr, nullptr);
    // Reading the schema proves that the file is a database at all.
    if (!exec(QStringLiteral("PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL; PRAGMA foreign_keys=OFF;"))) {
        const QString e = lastError_;
        close();
        lastError_ = e;
        return false;
    }
    return true;
}

void Database::close() {
    if (db_) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
}

bool Database::exec(const QString& sql) {
    if (!db_) {
        lastError_ = QStringLiteral("database not open");
        return false;
    }
    char* err = nullptr;
    if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        lastError_ = QString::fromUtf8(err ? err : sqlite3_errmsg(db_));
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
        lastError_ = QStringLiteral("database not open");
        return nullptr;
    }
    sqlite3_stmt* stmt = nullptr;
    const QByteArray s = sql.toUtf8();
    if (sqlite3_prepare_v2(db_, s.constData(), int(s.size()), &stmt, nullptr) != SQLITE_OK || !stmt) {
        lastError_ = QString::fromUtf8(sqlite3_errmsg(db_));
        sqlite3_finalize(stmt);
        return nullptr;
    }
    return std::make_unique<Statement>(*this, stmt);
}

bool Database::begin() {
    return exec(QStringLiteral("BEGIN IMMEDIATE"));
}
bool Database::commit() {
    if (exec(QStringLiteral("COMMIT"))) return true;
    if (inTransaction()) exec(QStringLiteral("ROLLBACK"));
    return false;
}
bool Database::rollback() {
    return exec(QStringLiteral("ROLLBACK"));
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

Statement::~Statement() {
    sqlite3_finalize(stmt_);
}

bool Statement::bind(int index, const QVariant& v) {
    int rc = SQLITE_OK;
    const int i = index + 1;
    if (!v.isValid() || v.isNull()) {
        rc = sqlite3_bind_null(stmt_, i);
    } else {
        switch (v.typeId()) {
        case QMetaType::Bool:
            rc = sqlite3_bind_int(stmt_, i, v.toBool() ? 1 : 0);
            break;
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::Short:
            rc = sqlite3_bind_int64(stmt_, i, v.toLongLong());
            break;
        case QMetaType::Double:
            rc = sqlite3_bind_double(stmt_, i, v.toDouble());
            break;
        case QMetaType::QDate:
            rc = sqlite3_bind_text(stmt_, i, v.toDate().toString(Qt::ISODate).toUtf8().constData(), -1,
                                   SQLITE_TRANSIENT);
            break;
        default: {
            const QByteArray t = v.toString().toUtf8();
            rc = sqlite3_bind_text(stmt_, i, t.constData(), int(t.size()), SQLITE_TRANSIENT);
        }
        }
    }
    if (rc != SQLITE_OK) {
        db_.setError(QString::fromUtf8(sqlite3_errmsg(db_.handle())));
        ok_ = false;
        return false;
    }
    return true;
}

bool Statement::bindAll(const std::vector<QVariant>& values) {
    for (size_t i = 0; i < values.size(); ++i)
        if (!bind(int(i), values[i])) return false;
    return true;
}

bool Statement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc != SQLITE_DONE) {
        ok_ = false;
        db_.setError(QString::fromUtf8(sqlite3_errmsg(db_.handle())));
    }
    return false;
}

bool Statement::reset() {
    ok_ = true;
    sqlite3_reset(stmt_);
    return sqlite3_clear_bindings(stmt_) == SQLITE_OK;
}

int Statement::columnCount() const {
    return sqlite3_column_count(stmt_);
}
QString Statement::columnName(int i) const {
    return QString::fromUtf8(sqlite3_column_name(stmt_, i));
}
QString Statement::columnTable(int i) const {
    const char* t = sqlite3_column_table_name(stmt_, i);
    return t ? QString::fromUtf8(t) : QString();
}

QVariant Statement::value(int i) const {
    switch (sqlite3_column_type(stmt_, i)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(stmt_, i)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt_, i));
    case SQLITE_NULL:
        return QVariant();
    default: {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, i));
        const int n = sqlite3_column_bytes(stmt_, i);
        // Walks read the same short texts over and over (kinds, dates, names): the last text of each
        // column is kept and shared rather than decoded and allocated again.
        if (size_t(i) >= recent_.size()) recent_.resize(size_t(i) + 1);
        auto& [bytes, text] = recent_[size_t(i)];
        if (bytes.size() != n || std::memcmp(bytes.constData(), p, size_t(n)) != 0) {
            bytes = QByteArray(p, n);
            text = QString::fromUtf8(bytes);
        }
        return QVariant(text);
    }
    }
}

} // namespace pylon
