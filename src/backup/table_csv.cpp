#include "backup/table_csv.h"

#include "backup/snapshot.h"
#include "domain/csv.h"
#include "store/database.h"
#include "store/schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <charconv>
#include <sqlite3.h>
#include <unistd.h>

namespace pylon::table_csv {

namespace {

const char* const kTables[] = {"Facture", "DetFact", "AVOIR", "CliEC"};

QString fileOf(const QString& folder, const char* table) {
    return QDir(folder).filePath(QString::fromLatin1(table) + QStringLiteral(".csv"));
}

QByteArray quotedName(const QByteArray& name) {
    QByteArray q = name;
    q.replace('"', "\"\"");
    return '"' + q + '"';
}

QByteArray realText(double d) {
    // The shortest text that reads back as the same number, with a point or an exponent so that it is
    // never read back as a whole number.
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, d);
    QByteArray text(buf, int(r.ptr - buf));
    if (!text.contains('.') && !text.contains('e') && !text.contains("inf")) text += ".0";
    return text;
}

csv::Field fieldOf(sqlite3_stmt* st, int i) {
    switch (sqlite3_column_type(st, i)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return {QByteArray::number(qlonglong(sqlite3_column_int64(st, i))), false};
    case SQLITE_FLOAT:
        return {realText(sqlite3_column_double(st, i)), false};
    case SQLITE_BLOB: {
        const auto* p = static_cast<const char*>(sqlite3_column_blob(st, i));
        return {"X'" + QByteArray(p, sqlite3_column_bytes(st, i)).toHex().toUpper() + '\'', false};
    }
    default: {
        const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st, i));
        return {QByteArray(p, sqlite3_column_bytes(st, i)), true};
    }
    }
}

bool engineError(Database& db, QString* error) {
    *error = QString::fromUtf8(sqlite3_errmsg(db.handle()));
    return false;
}

bool exportTable(Database& db, const char* table, const QString& file, QString* error) {
    sqlite3_stmt* st = nullptr;
    const QByteArray sql = QByteArrayLiteral("SELECT * FROM ") + table + " ORDER BY rowid";
    if (sqlite3_prepare_v2(db.handle(), sql.constData(), int(sql.size()), &st, nullptr) != SQLITE_OK)
        return engineError(db, error);
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        sqlite3_finalize(st);
        *error = QStringLiteral("cannot write %1: %2").arg(file, out.errorString());
        return false;
    }
    QByteArray buffer;
    csv::Record record;
    for (int i = 0; i < sqlite3_column_count(st); ++i)
        record.push_back({sqlite3_column_name(st, i), true});
    csv::appendRecord(buffer, record);
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        record.clear();
        for (int i = 0; i < sqlite3_column_count(st); ++i)
            record.push_back(fieldOf(st, i));
        csv::appendRecord(buffer, record);
        // Written as it goes: a large table is never held in memory whole.
        if (buffer.size() > (1 << 20)) {
            out.write(buffer);
            buffer.clear();
        }
    }
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE) return engineError(db, error);
    out.write(buffer);
    // On the disk before the set takes the files' names.
    if (!out.flush() || ::fsync(out.handle()) != 0 || out.error() != QFileDevice::NoError) {
        *error = QStringLiteral("cannot write %1: %2").arg(file, out.errorString());
        return false;
    }
    return true;
}

// The four new files take their names together: the earlier ones keep a second name meanwhile, and if one
// rename fails those already renamed get their earlier file back. False with *error set, every name then
// holding what it held before.
bool renameAsASet(const QStringList& written, const QStringList& names, QString* error) {
    QStringList earlier;
    for (const QString& name : names) {
        const QString second =
            QStringLiteral("%1.%2.avant").arg(name).arg(QCoreApplication::applicationPid());
        QFile::remove(second);
        earlier << (QFileInfo(name).isFile() && ::link(QFile::encodeName(name).constData(),
                                                       QFile::encodeName(second).constData()) == 0
                        ? second
                        : QString());
    }
    qsizetype done = 0;
    while (done < names.size() && snapshot::renameDurably(written[done], names[done]))
        ++done;
    const bool ok = done == names.size();
    if (!ok) {
        *error = QStringLiteral("cannot rename %1 to %2").arg(written[done], names[done]);
        for (qsizetype i = 0; i < done; ++i)
            if (earlier[i].isEmpty() ? !QFile::remove(names[i])
                                     : !snapshot::renameDurably(earlier[i], names[i]))
                *error += QStringLiteral("; %1 could not be put back").arg(names[i]);
    }
    for (const QString& second : earlier)
        if (!second.isEmpty()) QFile::remove(second);
    return ok;
}

// An unquoted field: nothing is a missing value; numbers and blobs are what they look like; anything else
// is a text after all.
int bindUnquoted(sqlite3_stmt* st, int i, const QByteArray& t) {
    if (t.isEmpty()) return sqlite3_bind_null(st, i);
    const char* begin = t.constData();
    const char* end = begin + t.size();
    static const QRegularExpression whole(QStringLiteral("^-?[0-9]+$"));
    static const QRegularExpression blob(QStringLiteral("^X'([0-9A-Fa-f]{2})*'$"));
    const QString s = QString::fromLatin1(t);
    if (whole.match(s).hasMatch()) {
        qint64 n = 0;
        if (const auto r = std::from_chars(begin, end, n); r.ec == std::errc() && r.ptr == end)
            return sqlite3_bind_int64(st, i, n);
    } else if (blob.match(s).hasMatch()) {
        const QByteArray bytes = QByteArray::fromHex(t.mid(2, t.size() - 3));
        return sqlite3_bind_blob(st, i, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
    } else {
        double d = 0;
        if (const auto r = std::from_chars(begin, end, d); r.ec == std::errc() && r.ptr == end)
            return sqlite3_bind_double(st, i, d);
    }
    return sqlite3_bind_text(st, i, begin, int(t.size()), SQLITE_TRANSIENT);
}

// The table's columns named by the header, in the header's order, quoted for SQL; empty with *error set
// when the header names a column the table lacks.
QByteArrayList columnsOf(Database& db, const char* table, const csv::Record& header, QString* error) {
    QStringList known;
    auto info = db.prepare(QStringLiteral("PRAGMA table_info(%1)").arg(QLatin1String(table)));
    while (info && info->step())
        known << info->value(1).toString();
    QByteArrayList columns;
    for (const csv::Field& f : header) {
        const QString name = QString::fromUtf8(f.text);
        const auto match = std::find_if(known.begin(), known.end(), [&](const QString& k) {
            return k.compare(name, Qt::CaseInsensitive) == 0;
        });
        if (match == known.end()) {
            *error = QStringLiteral("%1.csv: the table has no column '%2'").arg(QLatin1String(table), name);
            return {};
        }
        columns << quotedName(match->toUtf8());
    }
    return columns;
}

bool importTable(Database& db, const char* table, const QString& file, QString* error) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(file, in.errorString());
        return false;
    }
    std::vector<csv::Record> records;
    QString why;
    QByteArray text = in.readAll();
    // A spreadsheet's "CSV UTF-8" starts with a byte-order mark, which is no part of the first name.
    if (text.startsWith("\xEF\xBB\xBF")) text.remove(0, 3);
    if (!csv::parse(text, records, &why)) {
        *error = QStringLiteral("%1: %2").arg(file, why);
        return false;
    }
    if (records.empty()) {
        *error = QStringLiteral("%1 is empty: it must at least name the columns").arg(file);
        return false;
    }
    const QByteArrayList columns = columnsOf(db, table, records.front(), error);
    if (columns.isEmpty()) return false;
    QByteArray sql = QByteArrayLiteral("INSERT INTO ") + table + " (" + columns.join(", ") + ") VALUES (?";
    sql += QByteArray(", ?").repeated(columns.size() - 1) + ")";
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db.handle(), sql.constData(), int(sql.size()), &st, nullptr) != SQLITE_OK)
        return engineError(db, error);
    for (size_t r = 1; r < records.size(); ++r) {
        const csv::Record& record = records[r];
        if (record.size() != size_t(columns.size())) {
            sqlite3_finalize(st);
            *error = QStringLiteral("%1, record %2: %3 values for %4 columns")
                         .arg(file)
                         .arg(r + 1)
                         .arg(record.size())
                         .arg(columns.size());
            return false;
        }
        sqlite3_reset(st);
        for (int i = 0; i < int(record.size()); ++i) {
            const csv::Field& f = record[size_t(i)];
            if (f.quoted)
                sqlite3_bind_text(st, i + 1, f.text.constData(), int(f.text.size()), SQLITE_TRANSIENT);
            else
                bindUnquoted(st, i + 1, f.text);
        }
        if (sqlite3_step(st) != SQLITE_DONE) {
            engineError(db, error);
            sqlite3_finalize(st);
            return false;
        }
    }
    sqlite3_finalize(st);
    return true;
}

void removeDatabase(Database& db, const QString& path) {
    db.close();
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        QFile::remove(path + QLatin1String(suffix));
}

} // namespace

bool exportTables(Database& db, const QString& folder, QString* error) {
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("cannot make the folder %1").arg(folder);
        return false;
    }
    // A plain BEGIN only reads until something is written, and nothing is.
    if (!db.exec(QStringLiteral("BEGIN"))) {
        *error = db.lastError();
        return false;
    }
    // Written under names of their own, and given theirs only once all four are complete: the folder
    // holds the four new files or the four it held before, never some of each.
    QStringList written, names;
    bool ok = true;
    for (const char* table : kTables) {
        names << fileOf(folder, table);
        written << QStringLiteral("%1.%2.tmp").arg(names.last()).arg(QCoreApplication::applicationPid());
        QFile::remove(written.last());
        if (!(ok = exportTable(db, table, written.last(), error))) break;
    }
    db.exec(QStringLiteral("COMMIT"));
    if (ok) ok = renameAsASet(written, names, error);
    if (!ok)
        for (const QString& file : written)
            QFile::remove(file);
    return ok;
}

bool importTables(const QString& folder, const QString& path, QString* error) {
    const QFileInfo target(path);
    if (target.exists() || target.isSymLink()) {
        *error = QStringLiteral("%1 already exists; it is left untouched").arg(path);
        return false;
    }
    for (const char* table : kTables)
        if (!QFileInfo::exists(fileOf(folder, table))) {
            *error = QStringLiteral("%1 is missing").arg(fileOf(folder, table));
            return false;
        }
    const QString temporary = QStringLiteral("%1.%2.tmp").arg(path).arg(QCoreApplication::applicationPid());
    Database db;
    if (!db.open(temporary, Database::Mode::Create)) {
        *error = QStringLiteral("cannot create %1: %2").arg(temporary, db.lastError());
        return false;
    }
    // Nobody sees the file before it is renamed and a failure deletes it: no journal while it fills, one
    // wait for the disk at the end. The indexes come last, built once over all the rows.
    bool ok = db.exec(QStringLiteral("PRAGMA journal_mode=OFF; PRAGMA synchronous=FULL; "
                                     "PRAGMA cache_size=-65536;")) &&
              db.exec(schema::createTablesSql());
    if (!ok) *error = db.lastError();
    if (ok) {
        Transaction t(db);
        for (const char* table : kTables)
            if (!(ok = importTable(db, table, fileOf(folder, table), error))) break;
        if (ok && !(ok = t.commit())) *error = db.lastError();
    }
    // The additions go without a word in a file the program opens; a new file must have them all.
    if (ok && !(ok = schema::ensureAdditions(db) &&
                     db.scalar(QStringLiteral("PRAGMA journal_mode=WAL"))
                             .toString()
                             .compare(u"wal", Qt::CaseInsensitive) == 0 &&
                     schema::hasAdditions(db)))
        *error = db.lastError().isEmpty()
                     ? QStringLiteral("cannot add the program's indexes, triggers and kept totals")
                     : QStringLiteral("cannot add the program's indexes, triggers and kept totals: %1")
                           .arg(db.lastError());
    if (ok) db.close();
    if (ok) {
        const snapshot::Outcome placed = snapshot::putInPlace(temporary, path);
        if (!(ok = placed.ok)) *error = placed.detail;
    }
    if (!ok) removeDatabase(db, temporary);
    return ok;
}

} // namespace pylon::table_csv
