#include "module/entry_keeper.h"

#include "store/database.h"
#include "store/schema.h"

#include <QMetaObject>
#include <algorithm>
#include <chrono>

namespace pylon {

namespace {

// A write another program holds the file against is tried again after this long, and waits this long.
constexpr auto kRetry = std::chrono::seconds(2);
constexpr int kBusyMs = 1000;

// The dropped entries of the file, and those still waiting to be written: the newest kKept of all.
EntryKeeper::Entries withWaiting(EntryKeeper::Entries read,
                                 const std::map<qint64, std::optional<kept_entries::KeptEntry>>& waiting) {
    for (const auto& [id, entry] : waiting) {
        read.erase(std::remove_if(read.begin(), read.end(), [id = id](const auto& e) { return e.id == id; }),
                   read.end());
        if (entry && entry->owner.isEmpty()) read.push_back(*entry);
    }
    std::stable_sort(read.begin(), read.end(),
                     [](const auto& a, const auto& b) { return a.keptAt > b.keptAt; });
    if (read.size() > size_t(kept_entries::kKept)) read.resize(size_t(kept_entries::kKept));
    return read;
}

} // namespace

EntryKeeper::EntryKeeper(const QString& path, std::function<void(const Entries&)> interrupted)
    : db_(std::make_unique<Database>()), interrupted_(std::move(interrupted)) {
    thread_ = std::thread([this, path] { run(path); });
}

EntryKeeper::~EntryKeeper() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
    db_->close();
}

void EntryKeeper::keep(const kept_entries::KeptEntry& entry) {
    {
        std::lock_guard lock(mutex_);
        work_.writes[entry.id] = entry;
    }
    wake_.notify_all();
}

void EntryKeeper::forget(qint64 id) {
    {
        std::lock_guard lock(mutex_);
        work_.writes[id] = std::nullopt;
    }
    wake_.notify_all();
}

void EntryKeeper::readDropped(std::function<void(const std::optional<Entries>&)> then) {
    {
        std::lock_guard lock(mutex_);
        work_.reads.push_back(std::move(then));
    }
    wake_.notify_all();
}

void EntryKeeper::stopWriting() {
    std::lock_guard lock(mutex_);
    stopWriting_ = true;
}

void EntryKeeper::post(std::function<void()> call) {
    QMetaObject::invokeMethod(&receiver_, std::move(call), Qt::QueuedConnection);
}

bool EntryKeeper::writable() {
    return db_->isOpen() && !db_->readOnly() && !db_->fileHasMoved() && schema::hasAdditions(*db_);
}

void EntryKeeper::run(QString path) {
    // Opened as the file stands: the program's own connection has put it in its log mode, or will once the
    // file is read for damage.
    db_->keepJournalModeOnOpen(true);
    db_->open(path, Database::Mode::ReadWrite);
    db_->setBusyTimeout(kBusyMs);
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock,
                   [this] { return stop_ || !work_.writes.empty() || !work_.reads.empty() || work_.scan; });
        const bool last = stop_;
        Work taken = std::move(work_);
        work_ = {};
        work_.scan = false;
        bool mayWrite = !stopWriting_;
        lock.unlock();
        // A file that can only be read, or one replaced meanwhile, will never take what waits.
        if (!db_->isOpen() || db_->readOnly() || db_->fileHasMoved()) mayWrite = false;

        const bool canWrite = mayWrite && writable();
        Entries cut;
        if (taken.scan && canWrite) {
            if (auto found = kept_entries::takeInterrupted(*db_, kept_entries::runIsGoing)) {
                cut = std::move(*found);
                taken.scan = false;
            }
        }
        std::map<qint64, std::optional<kept_entries::KeptEntry>> waiting;
        for (auto& [id, entry] : taken.writes) {
            const bool written =
                canWrite && (entry ? kept_entries::keep(*db_, *entry) : kept_entries::forget(*db_, id));
            if (!written && mayWrite) waiting.emplace(id, std::move(entry));
        }
        if (!taken.reads.empty()) {
            auto read = db_->isOpen() ? kept_entries::dropped(*db_) : std::nullopt;
            if (read) read = withWaiting(std::move(*read), waiting);
            for (auto& then : taken.reads)
                post([then = std::move(then), read] { then(read); });
        }
        if (!cut.empty()) post([this, cut] { interrupted_(cut); });

        lock.lock();
        // What was asked meanwhile is newer than what could not be written.
        for (auto& [id, entry] : waiting)
            work_.writes.try_emplace(id, std::move(entry));
        if (taken.scan && mayWrite && !stopWriting_) work_.scan = true;
        if (stopWriting_) work_.writes.clear();
        if (last) break;
        if (!waiting.empty() || work_.scan) wake_.wait_for(lock, kRetry, [this] { return stop_; });
    }
}

} // namespace pylon
