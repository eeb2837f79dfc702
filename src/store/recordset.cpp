#include "store/recordset.h"

#include "domain/criteria.h"
#include "store/database.h"
#include "store/field_value.h"
#include "store/schema.h"

#include <atomic>

namespace pylon {

namespace {

QString keyName(const SourceSql& s, int i) {
    return i < s.orderKeys ? QStringLiteral("__o%1").arg(i) : QStringLiteral("__k%1").arg(i - s.orderKeys);
}

} // namespace

std::unique_ptr<RecordSet> RecordSet::open(Database& db, const QString& source) {
    if (!db.isOpen()) return nullptr;
    auto sql = translateSource(source);
    if (!sql) {
        db.setError(QStringLiteral("cannot open a record set on: %1").arg(source));
        return nullptr;
    }
    std::unique_ptr<RecordSet> rs(new RecordSet(db, source, *sql));
    if (!rs->prepareSource()) return nullptr;
    return rs;
}

RecordSet::RecordSet(Database& db, QString source, SourceSql sql)
    : db_(db), source_(std::move(source)), sql_(std::move(sql)) {
    if (!sql_.snapshot.isEmpty()) {
        static std::atomic<int> counter{0};
        snapshotTable_ = QStringLiteral("__pylon_rs%1").arg(++counter);
        sql_.select = QStringLiteral("SELECT *, rowid AS __k0 FROM temp.\"%1\"").arg(snapshotTable_);
        sql_.rowKeys = 1;
    }
}

RecordSet::~RecordSet() {
    cache_.clear();
    if (!snapshotTable_.isEmpty() && !snapshotStale_ && db_.isOpen())
        db_.exec(QStringLiteral("DROP TABLE IF EXISTS temp.\"%1\"").arg(snapshotTable_));
}

// Learns the column names. A DISTINCT select is copied only when its rows are first needed, so that
// opening the shared lists costs nothing at start-up.
bool RecordSet::prepareSource() {
    if (!names_.isEmpty()) return true;
    const bool copied = !snapshotTable_.isEmpty();
    // Stepping once makes SQLite check the source against the file's current tables: a table dropped by
    // another program since the schema was last read fails here rather than on every later move.
    auto st = db_.prepare((copied ? sql_.snapshot : sql_.select) + QStringLiteral(" LIMIT 0"));
    if (!st) return false;
    st->step();
    if (!st->ok()) return false;
    const int userColumns = st->columnCount() - (copied ? 0 : keyCount());
    for (int i = 0; i < userColumns; ++i) {
        const QString name = st->columnName(i);
        names_ << name;
        types_.push_back(schema::fieldType(name));
        if (!byName_.contains(name.toLower())) byName_.insert(name.toLower(), i);
        if (!byExactName_.contains(name)) byExactName_.insert(name, i);
    }
    // "Table.Field" names, where SQLite can tell the table, for selects that join tables sharing a field
    // name.
    for (int i = 0; i < userColumns; ++i) {
        const QString table = st->columnTable(i);
        if (!table.isEmpty()) {
            const QString qualified = (table + QLatin1Char('.') + names_[i]).toLower();
            if (!byName_.contains(qualified)) byName_.insert(qualified, i);
        }
    }
    // A DISTINCT list comes sorted on all its columns, as the lists have always come, whatever index
    // SQLite happens to use.
    if (copied) {
        QStringList by;
        for (int i = 1; i <= userColumns; ++i)
            by << QString::number(i);
        sql_.snapshot += QStringLiteral(" ORDER BY ") + by.join(QStringLiteral(", "));
    }
    return true;
}

bool RecordSet::ready() {
    if (!prepareSource()) return false;
    if (snapshotTable_.isEmpty() || !snapshotStale_) return true;
    cache_.clear();
    if (!db_.exec(QStringLiteral("DROP TABLE IF EXISTS temp.\"%1\"").arg(snapshotTable_))) return false;
    if (!db_.exec(QStringLiteral("CREATE TEMP TABLE \"%1\" AS %2").arg(snapshotTable_, sql_.snapshot)))
        return false;
    snapshotStale_ = false;
    return true;
}

Statement* RecordSet::statement(const QString& sql) {
    auto it = cache_.find(sql);
    if (it != cache_.end()) {
        it->second->reset();
        return it->second.get();
    }
    auto st = db_.prepare(sql);
    if (!st) return nullptr;
    return cache_.emplace(sql, std::move(st)).first->second.get();
}

std::optional<RecordSet::Row> RecordSet::fetchOne(const QString& sql, const std::vector<QVariant>& params) {
    Statement* st = statement(sql);
    if (!st) {
        readFailed_ = true;
        return std::nullopt;
    }
    std::optional<Row> row;
    if (st->bindAll(params) && st->step()) {
        row.emplace(size_t(st->columnCount()));
        for (int i = 0; i < st->columnCount(); ++i)
            (*row)[size_t(i)] = st->value(i);
    } else if (!st->ok()) {
        readFailed_ = true;
    }
    // Reset at once so that no read stays open on the file between two clicks.
    st->reset();
    return row;
}

std::optional<RecordSet::Row> RecordSet::neighbour(bool forward, const Row* from, const QString& cond,
                                                   const QVariant& condParam) {
    readFailed_ = false;
    if (!ready()) {
        readFailed_ = true;
        return std::nullopt;
    }
    QStringList order;
    for (int i = 0; i < keyCount(); ++i)
        order << keyName(sql_, i) + (forward ? QStringLiteral(" ASC") : QStringLiteral(" DESC"));
    const QString head = QStringLiteral("SELECT * FROM (%1) WHERE ").arg(sql_.select);
    const QString tail = QStringLiteral(" ORDER BY %1 LIMIT 1").arg(order.join(QStringLiteral(", ")));
    std::vector<QVariant> condParams;
    if (!cond.isEmpty()) condParams.push_back(condParam);
    if (!from) {
        return fetchOne(head + (cond.isEmpty() ? QStringLiteral("1") : cond) + tail, condParams);
    }
    // The next key in order: the same values on the first levels and a greater one on the next, tried from
    // the deepest level up, so that each query is an index lookup. Backwards, the keys below come before
    // the missing ones (which sort first): two lookups, since "k < ? OR k IS NULL" is one no index serves
    // and SQLite would walk the whole table for it. Row ids are never missing.
    const size_t base = from->size() - size_t(keyCount());
    for (int level = keyCount() - 1; level >= 0; --level) {
        QStringList where;
        std::vector<QVariant> params;
        for (int i = 0; i < level; ++i) {
            where << keyName(sql_, i) + QStringLiteral(" IS ?");
            params.push_back((*from)[base + size_t(i)]);
        }
        const QVariant& v = (*from)[base + size_t(level)];
        const QString k = keyName(sql_, level);
        // Each test on this level, with whether it takes the value.
        std::vector<std::pair<QString, bool>> tests;
        if (v.isNull()) {
            if (!forward) continue; // nothing sorts before a missing value
            tests.emplace_back(k + QStringLiteral(" IS NOT NULL"), false);
        } else {
            tests.emplace_back(k + (forward ? QStringLiteral(" > ?") : QStringLiteral(" < ?")), true);
            if (!forward && level < sql_.orderKeys) tests.emplace_back(k + QStringLiteral(" IS NULL"), false);
        }
        for (const auto& [test, takesValue] : tests) {
            QStringList w = where;
            std::vector<QVariant> p = params;
            w << test;
            if (takesValue) p.push_back(v);
            if (!cond.isEmpty()) {
                w << cond;
                p.push_back(condParam);
            }
            if (auto row = fetchOne(head + w.join(QStringLiteral(" AND ")) + tail, p)) return row;
            if (readFailed_) return std::nullopt;
        }
    }
    return std::nullopt;
}

void RecordSet::standOn(Row&& row) {
    row_ = std::move(row);
    pos_ = Pos::OnRow;
    deleted_ = false;
    mode_ = EditMode::None;
    buffer_.clear();
}

// A record set stands on its first row after opening and after Requery; that row is looked up only when
// something needs it.
bool RecordSet::resolve() {
    if (pos_ != Pos::Pending) return true;
    if (!ready()) return false;
    if (auto row = neighbour(true, nullptr, {}, {})) {
        standOn(std::move(*row));
    } else if (readFailed_) {
        return false;
    } else {
        pos_ = Pos::Empty;
        row_.clear();
    }
    return true;
}

bool RecordSet::MoveFirst() {
    if (!resolve()) return false;
    auto row = neighbour(true, nullptr, {}, {});
    if (!row) {
        if (!readFailed_) pos_ = Pos::Empty;
        return false;
    }
    standOn(std::move(*row));
    return true;
}

bool RecordSet::MoveLast() {
    if (!resolve()) return false;
    auto row = neighbour(false, nullptr, {}, {});
    if (!row) {
        if (!readFailed_) pos_ = Pos::Empty;
        return false;
    }
    standOn(std::move(*row));
    return true;
}

bool RecordSet::MoveNext() {
    if (!resolve() || pos_ == Pos::Empty || pos_ == Pos::AfterLast) return false;
    std::optional<Row> row;
    if (pos_ == Pos::BeforeFirst)
        row = neighbour(true, nullptr, {}, {});
    else if (!(row = takeAhead()))
        row = neighbour(true, &row_, {}, {});
    if (!row && readFailed_) return false;
    mode_ = EditMode::None;
    if (row) {
        standOn(std::move(*row));
    } else {
        pos_ = Pos::AfterLast;
        deleted_ = false;
    }
    return true;
}

bool RecordSet::MovePrevious() {
    if (!resolve() || pos_ == Pos::Empty || pos_ == Pos::BeforeFirst) return false;
    auto row = pos_ == Pos::AfterLast ? neighbour(false, nullptr, {}, {}) : neighbour(false, &row_, {}, {});
    if (!row && readFailed_) return false;
    mode_ = EditMode::None;
    if (row) {
        standOn(std::move(*row));
    } else {
        pos_ = Pos::BeforeFirst;
        deleted_ = false;
    }
    return true;
}

bool RecordSet::IsEOF() {
    resolve();
    return pos_ == Pos::AfterLast || pos_ == Pos::Empty || pos_ == Pos::Pending;
}

bool RecordSet::IsBOF() {
    resolve();
    return pos_ == Pos::BeforeFirst || pos_ == Pos::Empty || pos_ == Pos::Pending;
}

long RecordSet::RecordCount() {
    return RowCount().value_or(0);
}

std::optional<long> RecordSet::RowCount() {
    QVariant n;
    // A list not copied yet is counted without copying it.
    if (!snapshotTable_.isEmpty() && snapshotStale_) {
        if (!prepareSource()) return std::nullopt;
        n = db_.scalar(QStringLiteral("SELECT count(*) FROM (%1)").arg(sql_.snapshot));
    } else {
        if (!ready()) return std::nullopt;
        n = db_.scalar(QStringLiteral("SELECT count(*) FROM (%1)").arg(sql_.select));
    }
    if (!n.isValid()) return std::nullopt;
    return long(n.toLongLong());
}

bool RecordSet::find(bool forward, bool fromCurrent, const QString& criteria) {
    const auto c = parseCriterion(criteria);
    if (!c || !resolve()) return false;
    if (column(c->field) < 0) return false;
    // A set found empty earlier is searched all the same: another program may have written since.
    std::optional<Row> row;
    readFailed_ = false;
    const bool onRow = pos_ == Pos::OnRow;
    if (fromCurrent && onRow) {
        row = neighbour(forward, &row_, c->sql(), c->value);
    } else if (fromCurrent &&
               ((forward && pos_ == Pos::AfterLast) || (!forward && pos_ == Pos::BeforeFirst))) {
        row.reset();
    } else {
        row = neighbour(forward, nullptr, c->sql(), c->value);
    }
    if (!row && readFailed_) return false;
    noMatch_ = !row;
    if (row) standOn(std::move(*row));
    return true;
}

bool RecordSet::FindFirst(const QString& criteria) {
    return find(true, false, criteria);
}
bool RecordSet::FindNext(const QString& criteria) {
    return find(true, true, criteria);
}
bool RecordSet::FindPrevious(const QString& criteria) {
    return find(false, true, criteria);
}
bool RecordSet::FindLast(const QString& criteria) {
    return find(false, false, criteria);
}

int RecordSet::column(const QString& name) {
    if (!prepareSource()) return -1;
    // Names come as the table spells them nearly always: found without lowering them, a row of a long
    // write is not slowed by it.
    const auto exact = byExactName_.constFind(name);
    if (exact != byExactName_.cend()) return *exact;
    return byName_.value(name.toLower(), -1);
}

QVariant RecordSet::typed(int col, const QVariant& raw) const {
    return fromStoredValue(types_[size_t(col)], raw);
}

// Walking a list or a table row by row asks for the rows after the current one a few hundred at a time.
// They stay good as long as nothing was written through this connection and the walk goes on from where
// they were read.
std::optional<RecordSet::Row> RecordSet::takeAhead() {
    if (keyCount() != 1 || pos_ != Pos::OnRow || row_.empty()) return std::nullopt;
    const qint64 changes = db_.totalChanges();
    if (ahead_.empty() || aheadChanges_ != changes || aheadAfter_ != row_.back()) {
        ahead_.clear();
        if (!ready()) return std::nullopt;
        const QString sql =
            QStringLiteral("SELECT * FROM (%1) WHERE __k0 > ? ORDER BY __k0 ASC LIMIT 256").arg(sql_.select);
        Statement* st = statement(sql);
        if (!st) return std::nullopt;
        if (st->bind(0, row_.back()))
            while (st->step()) {
                Row r(size_t(st->columnCount()));
                for (int i = 0; i < st->columnCount(); ++i)
                    r[size_t(i)] = st->value(i);
                ahead_.push_back(std::move(r));
            }
        st->reset();
        aheadChanges_ = db_.totalChanges();
        if (ahead_.empty()) return std::nullopt;
    }
    Row next = std::move(ahead_.front());
    ahead_.pop_front();
    aheadAfter_ = next.back();
    return next;
}

std::optional<QVariant> RecordSet::Fields(int position) {
    if (!resolve() || position < 0 || position >= names_.size()) return std::nullopt;
    if (mode_ != EditMode::None) {
        auto it = buffer_.find(position);
        if (it != buffer_.end()) return typed(position, it->second);
        if (mode_ == EditMode::Adding) return QVariant();
    }
    if (pos_ != Pos::OnRow || deleted_) return std::nullopt;
    return typed(position, row_[size_t(position)]);
}

std::optional<QVariant> RecordSet::Fields(const QString& name) {
    return Fields(column(name));
}

int RecordSet::FieldCount() {
    return prepareSource() ? int(names_.size()) : 0;
}
QString RecordSet::FieldName(int position) {
    return prepareSource() ? names_.value(position) : QString();
}

bool RecordSet::Requery() {
    ahead_.clear();
    if (!snapshotTable_.isEmpty()) snapshotStale_ = true;
    pos_ = Pos::Pending;
    row_.clear();
    deleted_ = false;
    noMatch_ = false;
    mode_ = EditMode::None;
    buffer_.clear();
    return true;
}

Lookup lookUp(RecordSet& rs, const QString& criteria) {
    if (!rs.FindFirst(criteria)) return Lookup::Failed;
    return rs.NoMatch() ? Lookup::Absent : Lookup::Found;
}

FoundRow lookUpIn(Database& db, const QString& table, const QString& criteria) {
    FoundRow row{RecordSet::open(db, table)};
    if (row.rs) row.found = lookUp(*row.rs, criteria);
    return row;
}

} // namespace pylon
