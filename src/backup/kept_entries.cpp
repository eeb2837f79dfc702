#include "backup/kept_entries.h"

#include "store/database.h"
#include "store/write.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

namespace pylon::kept_entries {

namespace {

const QString kTable = QStringLiteral(
    "CREATE TABLE IF NOT EXISTS pylon_kept_entries(id INTEGER PRIMARY KEY, owner TEXT, "
    "interrupted INTEGER NOT NULL DEFAULT 0, kept_at TEXT NOT NULL, kind INTEGER NOT NULL, number TEXT, "
    "date TEXT, client TEXT, name TEXT, address TEXT, on_account INTEGER NOT NULL DEFAULT 0, "
    "columns TEXT NOT NULL)");

const QString kColumns = QStringLiteral(
    "id, owner, interrupted, kept_at, kind, number, date, client, name, address, on_account, columns");

bool tableIsThere(Database& db) {
    return db.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = "
                                    "'pylon_kept_entries'"))
               .toInt() == 1;
}

QString columnsText(const std::array<QStringList, 5>& columns) {
    QJsonArray all;
    for (const QStringList& column : columns)
        all.append(QJsonArray::fromStringList(column));
    return QString::fromUtf8(QJsonDocument(all).toJson(QJsonDocument::Compact));
}

std::array<QStringList, 5> columnsOf(const QString& text) {
    std::array<QStringList, 5> columns;
    const QJsonArray all = QJsonDocument::fromJson(text.toUtf8()).array();
    for (int c = 0; c < 5 && c < all.size(); ++c)
        for (const auto& cell : all[c].toArray())
            columns[size_t(c)] << cell.toString();
    return columns;
}

KeptEntry rowOf(const Statement& st) {
    KeptEntry e;
    e.id = st.value(0).toLongLong();
    e.owner = st.value(1).toString();
    e.interrupted = st.value(2).toInt() != 0;
    e.keptAt = QDateTime::fromString(st.value(3).toString(), Qt::ISODate);
    const int kind = st.value(4).toInt();
    e.kind = kind >= 1 && kind <= 6 ? DocKind(kind) : DocKind::Invoice;
    e.number = st.value(5).toString();
    e.date = st.value(6).toString();
    e.client = st.value(7).toString();
    e.name = st.value(8).toString();
    e.address = st.value(9).toString();
    e.onAccount = st.value(10).toInt() != 0;
    e.columns = columnsOf(st.value(11).toString());
    return e;
}

std::optional<std::vector<KeptEntry>> rows(Database& db, const QString& where) {
    std::vector<KeptEntry> out;
    if (!tableIsThere(db)) return out;
    auto st =
        db.prepare(QStringLiteral("SELECT %1 FROM pylon_kept_entries WHERE %2 ORDER BY kept_at DESC, id DESC")
                       .arg(kColumns, where));
    if (!st) return std::nullopt;
    while (st->step())
        out.push_back(rowOf(*st));
    if (!st->ok()) return std::nullopt;
    return out;
}

bool write(Database& db, const KeptEntry& e) {
    return db.exec(QStringLiteral("INSERT OR REPLACE INTO pylon_kept_entries(%1) VALUES "
                                  "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                       .arg(kColumns),
                   {e.id, e.owner.isEmpty() ? QVariant() : QVariant(e.owner), int(e.interrupted),
                    e.keptAt.toString(Qt::ISODate), int(e.kind), e.number, e.date, e.client, e.name,
                    e.address, int(e.onAccount), columnsText(e.columns)});
}

bool pruneDropped(Database& db) {
    return db.exec(QStringLiteral("DELETE FROM pylon_kept_entries WHERE owner IS NULL AND id NOT IN (SELECT "
                                  "id FROM pylon_kept_entries WHERE owner IS NULL ORDER BY kept_at DESC, id "
                                  "DESC LIMIT %1)")
                       .arg(kKept));
}

// A Linux process's start, in clock ticks since the machine started (the 22nd field of its stat file, the
// first after the name in brackets being the 3rd): with the machine's boot, it tells a run from a later one
// that got the same process number.
QString startOf(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return QString();
    const QByteArray text = stat.readAll();
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return fields.size() > 19 ? QString::fromLatin1(fields[19]) : QString();
}

QString bootId() {
    QFile boot(QStringLiteral("/proc/sys/kernel/random/boot_id"));
    return boot.open(QIODevice::ReadOnly) ? QString::fromLatin1(boot.readAll().trimmed()) : QString();
}

} // namespace

bool KeptEntry::worthKeeping() const {
    for (const QStringList& column : columns)
        for (const QString& cell : column)
            if (!cell.trimmed().isEmpty()) return true;
    if (kind == DocKind::CreditNote) return false;
    return !(client.trimmed().isEmpty() && name.trimmed().isEmpty() && address.trimmed().isEmpty());
}

bool KeptEntry::sameTyping(const KeptEntry& o) const {
    return id == o.id && owner == o.owner && interrupted == o.interrupted && kind == o.kind &&
           number == o.number && date == o.date && client == o.client && name == o.name &&
           address == o.address && onAccount == o.onAccount && columns == o.columns;
}

bool keep(Database& db, const KeptEntry& entry) {
    return runWrite(db,
                    [&] {
                        if (!db.exec(kTable) || !write(db, entry)) return WriteResult::failed();
                        return WriteResult::doneIf(!entry.owner.isEmpty() || pruneDropped(db));
                    })
        .isDone();
}

bool forget(Database& db, qint64 id) {
    if (!tableIsThere(db)) return true;
    return runWrite(db,
                    [&] {
                        return WriteResult::doneIf(
                            db.exec(QStringLiteral("DELETE FROM pylon_kept_entries WHERE id = ?"), {id}));
                    })
        .isDone();
}

std::optional<std::vector<KeptEntry>> dropped(Database& db) {
    auto all = rows(db, QStringLiteral("owner IS NULL"));
    if (all && all->size() > size_t(kKept)) all->resize(size_t(kKept));
    return all;
}

std::optional<std::vector<KeptEntry>> takeInterrupted(Database& db,
                                                      const std::function<bool(const QString&)>& running) {
    auto owned = rows(db, QStringLiteral("owner IS NOT NULL"));
    std::vector<KeptEntry> cut;
    if (!owned) return std::nullopt;
    for (KeptEntry& e : *owned)
        if (!running(e.owner)) cut.push_back(e);
    if (cut.empty()) return cut;
    for (KeptEntry& e : cut) {
        e.owner.clear();
        e.interrupted = true;
    }
    const bool written = runWrite(db, [&] {
                             for (const KeptEntry& e : cut)
                                 if (!write(db, e)) return WriteResult::failed();
                             return WriteResult::doneIf(pruneDropped(db));
                         }).isDone();
    if (!written) return std::nullopt;
    return cut;
}

QString thisRun() {
    const qint64 pid = QCoreApplication::applicationPid();
    return QStringLiteral("%1:%2:%3").arg(bootId()).arg(pid).arg(startOf(pid));
}

bool runIsGoing(const QString& owner) {
    const QStringList parts = owner.split(QLatin1Char(':'));
    if (parts.size() != 3 || parts[0] != bootId()) return false;
    bool ok = false;
    const qint64 pid = parts[1].toLongLong(&ok);
    return ok && !parts[2].isEmpty() && startOf(pid) == parts[2];
}

} // namespace pylon::kept_entries
