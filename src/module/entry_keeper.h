#pragma once
// Keeps the entries being typed and dropped (backup/kept_entries.h) on a thread and a connection of its own:
// a commit waits for the disk, and another program may hold the file for seconds, and typing must wait for
// neither. The newest state of each entry wins over one not yet written; what could not be written is tried
// again a moment later.
//
// Nothing is written into a file that does not have the program's additions yet: such a file is read whole
// for damage, and prepared, before anything of the program's is written into it. Until then, what is to be
// kept waits here.
#include "backup/kept_entries.h"

#include <QObject>
#include <QString>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace pylon {

class Database;

class EntryKeeper {
  public:
    using Entries = std::vector<kept_entries::KeptEntry>;

    // Starts the thread on the file at `path`. `interrupted` is called once, on the thread that made the
    // keeper, with the entries a run that ended while typing them left (none: not called).
    EntryKeeper(const QString& path, std::function<void(const Entries&)> interrupted);
    // Writes what is still waiting (for at most about a second when another program holds the file), then
    // ends the thread and closes its connection.
    ~EntryKeeper();
    EntryKeeper(const EntryKeeper&) = delete;
    EntryKeeper& operator=(const EntryKeeper&) = delete;

    void keep(const kept_entries::KeptEntry& entry);
    void forget(qint64 id);
    // The dropped entries, newest first, once everything asked before is written; `then` runs on the thread
    // that made the keeper, nullopt when they could not be read.
    void readDropped(std::function<void(const std::optional<Entries>&)> then);
    // Nothing more is written: the file was found damaged, or replaced.
    void stopWriting();

  private:
    struct Work {
        std::map<qint64, std::optional<kept_entries::KeptEntry>> writes; // nullopt: forget
        std::vector<std::function<void(const std::optional<Entries>&)>> reads;
        bool scan = true;
    };
    void run(QString path);
    bool writable();
    void post(std::function<void()> call);

    std::unique_ptr<Database> db_;
    QObject receiver_;
    std::function<void(const Entries&)> interrupted_;
    std::mutex mutex_;
    std::condition_variable wake_;
    Work work_;
    bool stop_ = false;
    bool stopWriting_ = false;
    std::thread thread_;
};

} // namespace pylon
