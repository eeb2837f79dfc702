// A prepared statement of a Database: binding, stepping and reading values.
#include "store/database.h"

#include <QByteArray>
#include <QDate>
#include <cstring>
#include <sqlite3.h>

namespace pylon {

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
        db_.recordEngineError();
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
        db_.recordEngineError();
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

std::optional<qint64> Statement::wholeNumber(int i) const {
    if (sqlite3_column_type(stmt_, i) != SQLITE_INTEGER) return std::nullopt;
    return sqlite3_column_int64(stmt_, i);
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
