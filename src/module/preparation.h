#pragma once
// Bringing a file up to what the program keeps in it: its indexes and triggers, and each document's kept
// totals. On a shop's own file (the four tables only) or one another program filled, that is seconds of
// work at a million documents, so it is done on a thread and a connection of its own, in short
// transactions, while the user works: the first document is shown at once, saves wait a moment at most,
// and a program closed in the middle leaves a file that is whole, to be finished at the next start.
#include <QObject>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

namespace pylon {

class Database;

// Where the work stands, as the notice says it.
struct PreparationProgress {
    enum class Stage { Checking, Building, Computing };
    Stage stage = Stage::Checking;
    qint64 done = 0, total = 0; // steps while checking and building, documents while computing
};

// What a file lacks, read cheaply (nothing here grows with the file but the count of noted documents,
// which stops early).
struct PreparationWork {
    bool check = false;      // never prepared: read whole for damage before anything is written into it
    bool switchLog = false;  // not yet in write-ahead-log mode
    QStringList additions;   // the statements of the missing indexes and triggers, one each
    bool makeTotals = false; // the kept totals (or one of their triggers) are missing
    qint64 stale = 0;        // documents noted to be computed again, counted up to a bound
    qint64 documents = 0;    // how many headers the file holds, about

    // Anything to do; a few noted documents are not: they are computed when the figures are read.
    bool any() const;
    // Small enough to be done before the first display without the user noticing.
    bool quick() const;

    static PreparationWork of(Database& db);
};

// Does the work through `db`, a step at a time: `report` hears of each step done and says whether to go
// on; `stillWanted`, asked often, also during the reading for damage, stops it. Damage found by the check
// is the connection's last failure (SQLITE_CORRUPT) and stops everything before anything is written. True
// when the file is complete.
using Report = std::function<bool(const PreparationProgress&)>;
bool prepareFile(Database& db, const PreparationWork& work, const Report& report = {},
                 const std::function<bool()>& stillWanted = {});

class Preparation {
  public:
    struct Callbacks {
        std::function<void(const PreparationProgress&)> progress;
        std::function<void(const QString& problem)> damaged;
        std::function<void(bool complete)> finished;
    };
    // Starts the work on the file at `path` on a thread of its own. The callbacks are called later on the
    // thread that made the preparation, through its event loop, and never once the preparation is gone.
    Preparation(const QString& path, PreparationWork work, Callbacks callbacks);
    // Stops the work between two steps (a step under way is interrupted and rolled back) and waits for the
    // thread: what was committed stays, the rest is done at the next start.
    ~Preparation();
    Preparation(const Preparation&) = delete;
    Preparation& operator=(const Preparation&) = delete;

    bool running() const { return !done_; }

  private:
    std::unique_ptr<Database> db_;
    QObject receiver_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> done_{false};
    bool damaged_ = false; // written by the thread before done_
    std::thread thread_;
};

} // namespace pylon
