#include "module/preparation.h"

#include "lists/document_counts.h"
#include "store/database.h"
#include "store/db_errors.h"
#include "store/schema.h"
#include "store/totals_cache.h"

#include <chrono>
#include <thread>

namespace pylon {

namespace {

// Documents computed in one transaction: a few tens of milliseconds, which is all a save waits for.
constexpr int kBatch = 4000;
// At most this many documents and noted documents are prepared before the first display.
constexpr qint64 kQuickDocuments = 5000;
// A save made while an index is being built waits for it rather than failing: the largest takes seconds
// at a million documents.
constexpr int kPatientMs = 30000;

} // namespace

bool PreparationWork::quick() const {
    return documents <= kQuickDocuments && stale <= kQuickDocuments;
}

bool PreparationWork::any() const {
    return check || switchLog || !additions.isEmpty() || makeTotals ||
           stale > totals_cache::kComputedOnTheSpot;
}

PreparationWork PreparationWork::of(Database& db) {
    PreparationWork w;
    w.check = !schema::hasAdditions(db);
    w.switchLog = !schema::inLogMode(db);
    w.additions = schema::missingAdditions(db);
    w.makeTotals = !totals_cache::present(db);
    // Counted only as far as the choice needs: past it, the preparation counts them itself.
    if (!w.makeTotals) w.stale = totals_cache::staleCount(db, kQuickDocuments + 1);
    w.documents = documentRowsAtMost(db);
    return w;
}

bool prepareFile(Database& db, const PreparationWork& work, const Report& report,
                 const std::function<bool()>& stillWanted) {
    const auto goOn = [&](PreparationProgress::Stage stage, qint64 done, qint64 total) {
        return (!report || report({stage, done, total})) && (!stillWanted || stillWanted());
    };
    const qint64 steps =
        (work.check ? 1 : 0) + (work.switchLog ? 1 : 0) + work.additions.size() + (work.makeTotals ? 1 : 0);
    qint64 step = 0;
    if (work.check) {
        if (!goOn(PreparationProgress::Stage::Checking, step, steps)) return false;
        // Nothing is written into a damaged file: its damage is said and it is left as it was found.
        const bool sound = db.checkForDamage([&] { return !stillWanted || stillWanted(); });
        if (!sound || !goOn(PreparationProgress::Stage::Checking, ++step, steps)) return false;
    }
    // A file in the old journal mode: a reader waits for every commit of the work that follows, and the
    // work for every reader; in the log mode neither waits for the other. The switch needs the file to
    // itself for a moment and SQLite does not wait for it: it is tried again after each step until it
    // takes.
    bool switchPending = work.switchLog;
    const auto trySwitch = [&] {
        if (switchPending) switchPending = !schema::switchToLogMode(db);
    };
    if (work.switchLog) {
        trySwitch();
        if (!goOn(PreparationProgress::Stage::Building, ++step, steps)) return false;
    }
    for (const QString& addition : work.additions) {
        if (!db.exec(addition)) return false;
        trySwitch();
        if (!goOn(PreparationProgress::Stage::Building, ++step, steps)) return false;
    }
    if (work.makeTotals) {
        if (!totals_cache::noteEveryDocument(db)) return false;
        if (!goOn(PreparationProgress::Stage::Building, ++step, steps)) return false;
    }
    const qint64 noted = totals_cache::staleCount(db, std::numeric_limits<qint64>::max());
    if (noted < 0) return false;
    qint64 computed = 0;
    while (goOn(PreparationProgress::Stage::Computing, computed, std::max(noted, computed))) {
        const qint64 done = totals_cache::refreshBatch(db, kBatch);
        if (done < 0) return false;
        trySwitch();
        if (done == 0) {
            for (int tries = 0;
                 switchPending && tries < 50 &&
                 goOn(PreparationProgress::Stage::Computing, computed, std::max(noted, computed));
                 ++tries) {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                trySwitch();
            }
            return !switchPending;
        }
        computed += done;
    }
    return false;
}

Preparation::Preparation(const QString& path, PreparationWork work, Callbacks callbacks)
    : db_(std::make_unique<Database>()) {
    // Opened here, so that the connection is there before any interrupt can be sent to it, and without
    // the log mode: the work itself puts the file in it, once it has read it for damage.
    db_->keepJournalModeOnOpen(true);
    const bool opened = db_->open(path, Database::Mode::ReadWrite) && !db_->readOnly();
    if (opened) db_->setBusyTimeout(kPatientMs);
    thread_ = std::thread([this, opened, work = std::move(work), cb = std::move(callbacks)] {
        bool complete = false;
        if (opened) {
            const auto report = [this, &cb](const PreparationProgress& p) {
                if (cb.progress)
                    QMetaObject::invokeMethod(
                        &receiver_, [progress = cb.progress, p] { progress(p); }, Qt::QueuedConnection);
                return true;
            };
            complete = prepareFile(*db_, work, report, [this] { return !stop_.load(); });
            const db_errors::Fault fault = db_errors::faultOf(db_->lastErrorCode());
            if (!complete && !stop_ && cb.damaged &&
                (fault == db_errors::Fault::Damaged || fault == db_errors::Fault::NotADatabase)) {
                const QString problem = db_->lastError();
                damaged_ = true;
                QMetaObject::invokeMethod(
                    &receiver_, [damaged = cb.damaged, problem] { damaged(problem); }, Qt::QueuedConnection);
            }
        }
        if (cb.finished)
            QMetaObject::invokeMethod(
                &receiver_, [finished = cb.finished, complete] { finished(complete); }, Qt::QueuedConnection);
        done_ = true;
    });
}

Preparation::~Preparation() {
    stop_ = true;
    // A step runs inside SQLite, which only an interrupt stops; one sent just before the step begins is
    // lost, so it is sent again until the thread is done. What the step had not committed is rolled back.
    while (thread_.joinable() && !done_) {
        db_->interrupt();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (thread_.joinable()) thread_.join();
    // Closed here rather than on the thread, so that no interrupt can reach a connection being closed. A
    // damaged file is closed without its log copied into it: it stays as it was found.
    if (damaged_)
        db_->closeAsDamaged(db_->lastError());
    else
        db_->close();
}

} // namespace pylon
