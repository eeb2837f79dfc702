#include "dump_text.h"

#include "store/database.h"

#include <QByteArray>
#include <QStringList>
#include <charconv>
#include <sqlite3.h>

namespace pylon::dbtool {

namespace {

struct TableOrder {
    const char* name;
    // How rows are ordered. Rows that the order leaves tied are ordered by all their columns, so that
    // two files holding the same rows in another storage order print alike.
    const char* orderBy;
    bool thenAllColumns;
};

// Lines have no number of their own: their storage order is the order they are shown in, so it is kept.
const TableOrder kTables[] = {
    {"Facture", "\"NumFact\"", true},
    {"DetFact", "\"NumFact\", rowid", false},
    {"AVOIR", "\"NumFact\", rowid", false},
    {"CliEC", "\"NumCli\"", true},
};

QByteArray quotedName(const QByteArray& name) {
    QByteArray q = name;
    q.replace('"', "\"\"");
    return '"' + q + '"';
}

void appendText(QByteArray& line, const unsigned char* p, int n) {
    static const char hex[] = "0123456789ABCDEF";
    line += '\'';
    for (int i = 0; i < n; ++i) {
        const unsigned char c = p[i];
        switch (c) {
        case '\\':
            line += "\\\\";
            break;
        case '\'':
            line += "\\'";
            break;
        case '\n':
            line += "\\n";
            break;
        case '\r':
            line += "\\r";
            break;
        case '\t':
            line += "\\t";
            break;
        default:
            if (c < 0x20 || c == 0x7f) {
                line += "\\x";
                line += hex[c >> 4];
                line += hex[c & 0xf];
            } else {
                line += char(c);
            }
        }
    }
    line += '\'';
}

void appendReal(QByteArray& line, double d) {
    // The shortest text that reads back as the same number, always with a point or an exponent so that
    // it cannot be taken for a whole number.
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, d);
    QByteArray text(buf, int(r.ptr - buf));
    if (!text.contains('.') && !text.contains('e') && !text.contains("inf") && !text.contains("nan"))
        text += ".0";
    line += text;
}

void appendValue(QByteArray& line, sqlite3_stmt* st, int i) {
    switch (sqlite3_column_type(st, i)) {
    case SQLITE_NULL:
        line += "NULL";
        break;
    case SQLITE_INTEGER:
        line += QByteArray::number(qlonglong(sqlite3_column_int64(st, i)));
        break;
    case SQLITE_FLOAT:
        appendReal(line, sqlite3_column_double(st, i));
        break;
    case SQLITE_BLOB: {
        const auto* p = static_cast<const char*>(sqlite3_column_blob(st, i));
        line += "X'" + QByteArray(p, sqlite3_column_bytes(st, i)).toHex().toUpper() + '\'';
        break;
    }
    default: {
        const auto* p = sqlite3_column_text(st, i);
        appendText(line, p, sqlite3_column_bytes(st, i));
    }
    }
}

class Reader {
  public:
    Reader(Database& db, std::FILE* out) : db_(db), out_(out) {}
    ~Reader() { sqlite3_finalize(st_); }
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    bool table(const TableOrder& t, QString* error) {
        // The columns first, to name them in the header and to order by all of them.
        if (!prepare(QByteArrayLiteral("SELECT * FROM ") + t.name + " LIMIT 0", error)) return false;
        QByteArrayList columns;
        for (int i = 0; i < sqlite3_column_count(st_); ++i)
            columns << sqlite3_column_name(st_, i);
        QByteArray sql = QByteArrayLiteral("SELECT * FROM ") + t.name + " ORDER BY " + t.orderBy;
        if (t.thenAllColumns)
            for (const QByteArray& c : columns)
                sql += ", " + quotedName(c);
        if (!prepare(sql, error)) return false;

        QByteArray line = QByteArray(t.name) + " (" + columns.join(", ") + ")\n";
        int rc;
        while ((rc = sqlite3_step(st_)) == SQLITE_ROW) {
            std::fwrite(line.constData(), 1, size_t(line.size()), out_);
            line = "  ";
            for (int i = 0; i < columns.size(); ++i) {
                if (i > 0) line += ", ";
                appendValue(line, st_, i);
            }
            line += '\n';
        }
        std::fwrite(line.constData(), 1, size_t(line.size()), out_);
        if (rc != SQLITE_DONE) return fail(error);
        return true;
    }

  private:
    bool prepare(const QByteArray& sql, QString* error) {
        sqlite3_finalize(st_);
        st_ = nullptr;
        if (sqlite3_prepare_v2(db_.handle(), sql.constData(), int(sql.size()), &st_, nullptr) != SQLITE_OK)
            return fail(error);
        return true;
    }
    bool fail(QString* error) {
        *error = QString::fromUtf8(sqlite3_errmsg(db_.handle()));
        return false;
    }

    Database& db_;
    std::FILE* out_;
    sqlite3_stmt* st_ = nullptr;
};

} // namespace

bool writeDump(Database& db, std::FILE* out, QString* error) {
    // A plain BEGIN only reads until something is written, and nothing is.
    if (!db.exec(QStringLiteral("BEGIN"))) {
        *error = db.lastError();
        return false;
    }
    bool ok = true;
    {
        Reader reader(db, out);
        for (const TableOrder& t : kTables)
            if (!(ok = reader.table(t, error))) break;
    }
    db.exec(QStringLiteral("COMMIT"));
    return ok;
}

} // namespace pylon::dbtool
