#include "lists/listed_documents.h"

#include "store/background_read.h"
#include "store/database.h"
#include "store/field_value.h"

#include <QFileInfo>
#include <QStringList>
#include <algorithm>

namespace pylon {

ListedDocuments::ListedDocuments(Database& live) : live_(live) {}

ListedDocuments::~ListedDocuments() = default;

namespace {

qint64 logSize(const QString& database) {
    return QFileInfo(database + QStringLiteral("-wal")).size();
}

} // namespace

std::shared_ptr<ListedDocuments> ListedDocuments::read(Database& db, const DocumentChoice& choice) {
    std::shared_ptr<ListedDocuments> out(new ListedDocuments(db));
    out->choice_ = choice;
    if (!db.isOpen()) return out;
    out->takeMoment();
    out->keysRead(out->readKeys(out->reader(), choice));
    return out;
}

std::unique_ptr<BackgroundRead>
ListedDocuments::readBehind(Database& db, const DocumentChoice& choice,
                            std::function<void(std::shared_ptr<ListedDocuments>)> done) {
    // A file replaced or deleted since it was opened is read through the program's own connection.
    if (!db.isOpen() || db.fileHasMoved()) return nullptr;
    std::shared_ptr<ListedDocuments> out(new ListedDocuments(db));
    out->choice_ = choice;
    auto read = std::make_shared<bool>(false);
    auto self = std::make_shared<BackgroundRead*>(nullptr);
    auto behind = std::make_unique<BackgroundRead>(
        db.path(),
        [out, choice, read](Database& moment) {
            // The transaction takes its moment with its first read, which is that of the keys.
            *read = moment.exec(QStringLiteral("BEGIN")) && out->readKeys(moment, choice);
        },
        [out, read, self, done = std::move(done)] {
            // A file that could not be opened a second time is read through the program's own connection.
            if (!(*self)->opened()) {
                done(ListedDocuments::read(out->live_, out->choice_));
                return;
            }
            out->moment_ = (*self)->takeConnection();
            out->keysRead(*read);
            done(out);
        });
    *self = behind.get();
    return behind;
}

void ListedDocuments::keysRead(bool ok) {
    readOk_ = ok;
    if (!readOk_) {
        keys_.clear();
        numbers_.clear();
        odd_.clear();
        release();
    }
    if (moment_) {
        logLastSeen_ = logSize(live_.path());
        // SQLite folds its log into the file once a save leaves it this many pages long, and then starts
        // it again from the top; a quarter more leaves room for the save that crosses the mark.
        const qint64 pages = live_.scalar(QStringLiteral("PRAGMA wal_autocheckpoint")).toLongLong();
        const qint64 pageSize = moment_->scalar(QStringLiteral("PRAGMA page_size")).toLongLong();
        logLimit_ = (pages > 0 ? pages : 1000) * (pageSize > 0 ? pageSize + 24 : 4120) * 5 / 4;
    }
}

void ListedDocuments::takeMoment() {
    // A file replaced or deleted since it was opened is not the one to list: it is then read through the
    // program's own connection, which still holds the file it opened.
    if (live_.fileHasMoved()) return;
    auto moment = std::make_unique<Database>();
    // The transaction takes its moment with its first read, which is that of the keys.
    if (moment->open(live_.path(), Database::Mode::ReadOnly) && moment->exec(QStringLiteral("BEGIN")))
        moment_ = std::move(moment);
}

bool ListedDocuments::logOutgrown() {
    if (!moment_) return false;
    // The log's file keeps the length it once reached when another program writes (only this program's
    // connections cut it back): a long file is a sign only while it still grows.
    const qint64 size = logSize(live_.path());
    const bool grew = size > logLastSeen_;
    logLastSeen_ = size;
    return grew && size > logLimit_;
}

void ListedDocuments::renew() {
    release();
    if (!live_.isOpen()) return;
    // Folded in first and emptied, the log holds nothing the new moment needs, and SQLite starts it again
    // from the top at the next save. Without waiting for anybody: with another program reading or writing,
    // it is folded in as far as that program allows, and the editor's saves go on.
    const bool emptied = live_.foldLog(0);
    const std::shared_ptr<ListedDocuments> fresh = read(live_, choice_);
    if (!fresh->readOk_) return;
    keys_ = std::move(fresh->keys_);
    numbers_ = std::move(fresh->numbers_);
    odd_ = std::move(fresh->odd_);
    moment_ = std::move(fresh->moment_);
    logLastSeen_ = fresh->logLastSeen_;
    logLimit_ = fresh->logLimit_;
    pages_.clear();
    unread_.clear();
    // Another program kept the log from being emptied: a moment taken now would hold back its saves as the
    // last one did. The rows are then read from the file as it is, until the list is filled again.
    if (!emptied) release();
}

int ListedDocuments::rowOfNumber(qint64 number) const {
    if (numbers_.empty()) return -1;
    const auto at = std::lower_bound(numbers_.begin(), numbers_.end(), number);
    return int(std::min<qint64>(at - numbers_.begin(), qint64(numbers_.size()) - 1));
}

Database& ListedDocuments::reader() {
    return moment_ ? *moment_ : live_;
}

void ListedDocuments::release() {
    moment_.reset();
}

// The keys come from the indexes on the kind and number (or on the number alone) in number order, so that
// no row is sorted or even read: a million of them take a few tens of milliseconds.
bool ListedDocuments::readKeys(Database& db, const DocumentChoice& choice) {
    if (!db.isOpen()) return false;
    QString sql;
    switch (choice.by) {
    case DocumentChoice::By::Everything:
        sql = QStringLiteral("SELECT rowid, NumFact FROM Facture ORDER BY NumFact, rowid");
        break;
    case DocumentChoice::By::Type:
        sql = QStringLiteral("SELECT rowid, NumFact FROM Facture WHERE TypeFact = ? ORDER BY NumFact, rowid");
        break;
    case DocumentChoice::By::CreditNote:
        // Every value that may read as set is fetched; the flag is then read as the program reads it.
        sql = QStringLiteral("SELECT rowid, NumFact, Avoir FROM Facture WHERE Avoir < 0 OR Avoir > 0 "
                             "ORDER BY NumFact, rowid");
        break;
    }
    auto st = db.prepare(sql);
    if (!st || (choice.by == DocumentChoice::By::Type && !st->bind(0, choice.type))) return false;
    // Runs of rows sharing a number: only a damaged file has them, and they are put right afterwards.
    std::vector<std::pair<size_t, size_t>> runs;
    std::optional<qint64> lastWhole;
    QVariant lastOther;
    size_t runStart = 0;
    while (st->step()) {
        if (choice.by == DocumentChoice::By::CreditNote &&
            !fromStoredValue(schema::FieldType::Boolean, st->value(2)).toBool())
            continue;
        // Numbers are whole numbers, read as such; only a damaged file holds anything else.
        const auto whole = st->wholeNumber(1);
        const QVariant other = whole ? QVariant() : st->value(1);
        const bool same = !keys_.empty() && lastWhole == whole && (whole || other == lastOther);
        if (!same) {
            if (keys_.size() - runStart > 1) runs.emplace_back(runStart, keys_.size());
            runStart = keys_.size();
            lastWhole = whole;
            lastOther = other;
        }
        keys_.push_back(st->wholeNumber(0).value_or(0));
        numbers_.push_back(whole.value_or(0));
        odd_.push_back(!whole);
    }
    if (keys_.size() - runStart > 1) runs.emplace_back(runStart, keys_.size());
    if (!st->ok()) return false;
    return runs.empty() || mergeSameNumbers(db, runs);
}

// Headers that share a number are listed as the distinct rows of number, date, client, kind and flag, in
// that order: two copies of one header show once, two different headers under one number both show.
bool ListedDocuments::mergeSameNumbers(Database& db, const std::vector<std::pair<size_t, size_t>>& runs) {
    std::vector<qint64> merged, numbers;
    std::vector<bool> odd;
    merged.reserve(keys_.size());
    numbers.reserve(keys_.size());
    // Rows outside the runs keep their number as it is; the rows a run becomes all share its number.
    const auto keep = [&](size_t from, size_t to) {
        numbers.insert(numbers.end(), numbers_.begin() + qint64(from), numbers_.begin() + qint64(to));
        odd.insert(odd.end(), odd_.begin() + qint64(from), odd_.begin() + qint64(to));
    };
    size_t next = 0;
    for (const auto& [from, to] : runs) {
        merged.insert(merged.end(), keys_.begin() + qint64(next), keys_.begin() + qint64(from));
        const size_t before = merged.size();
        QStringList ids;
        for (size_t i = from; i < to; ++i)
            ids << QString::number(keys_[i]);
        auto st = db.prepare(
            QStringLiteral("SELECT min(rowid) FROM Facture WHERE rowid IN (%1) GROUP BY NumFact, DateFact, "
                           "NumCli, TypeFact, Avoir ORDER BY NumFact, DateFact, NumCli, TypeFact, Avoir")
                .arg(ids.join(QLatin1Char(','))));
        if (!st) return false;
        while (st->step())
            merged.push_back(st->value(0).toLongLong());
        if (!st->ok()) return false;
        keep(next, from);
        numbers.insert(numbers.end(), merged.size() - before, numbers_[from]);
        odd.insert(odd.end(), merged.size() - before, odd_[from]);
        next = to;
    }
    merged.insert(merged.end(), keys_.begin() + qint64(next), keys_.end());
    keep(next, keys_.size());
    keys_ = std::move(merged);
    numbers_ = std::move(numbers);
    odd_ = std::move(odd);
    return true;
}

const std::vector<ListedHeader>& ListedDocuments::page(int first) {
    const auto cached =
        std::find_if(pages_.begin(), pages_.end(), [first](const Page& p) { return p.first == first; });
    if (cached != pages_.end()) {
        if (cached != pages_.begin()) {
            Page p = std::move(*cached);
            pages_.erase(cached);
            pages_.push_front(std::move(p));
        }
        return pages_.front().rows;
    }
    Page p;
    p.first = first;
    const int end = std::min(count(), first + kPageRows);
    p.rows.resize(size_t(end - first));
    Database& db = reader();
    // A closed file (found damaged, say) is not asked: asking would replace the reason it was closed for.
    auto st =
        db.isOpen()
            ? db.prepare(QStringLiteral("SELECT NumFact, DateFact, NumCli FROM Facture WHERE rowid = ?"))
            : nullptr;
    bool complete = st != nullptr;
    for (int row = first; complete && row < end; ++row) {
        st->reset();
        if (st->bind(0, keys_[size_t(row)]) && st->step())
            p.rows[size_t(row - first)] = {listText(schema::FieldType::Integer, st->value(0)),
                                           listText(schema::FieldType::Date, st->value(1)),
                                           listText(schema::FieldType::Integer, st->value(2))};
        complete = st->ok();
    }
    // A page the file failed to give is asked again next time rather than kept empty.
    if (!complete) {
        unread_ = std::move(p.rows);
        return unread_;
    }
    pages_.push_front(std::move(p));
    if (pages_.size() > kPagesKept) pages_.pop_back();
    return pages_.front().rows;
}

QString ListedDocuments::number(int row) {
    if (row < 0 || row >= count()) return {};
    if (odd_[size_t(row)]) return header(row).number;
    return QString::number(numbers_[size_t(row)]);
}

int ListedDocuments::findNumberStartingWith(const QString& text, int from) {
    for (int i = 0; i < count(); ++i) {
        const int row = (std::max(from, 0) + i) % count();
        if (number(row).startsWith(text, Qt::CaseInsensitive)) return row;
    }
    return -1;
}

ListedHeader ListedDocuments::header(int row) {
    if (row < 0 || row >= count()) return {};
    const int first = row - row % kPageRows;
    return page(first)[size_t(row - first)];
}

} // namespace pylon
