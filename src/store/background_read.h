#pragma once
// A read that would hold the window still for longer than a moment on a large file (the first document,
// a list of half a million numbers, a search) runs here instead: on a thread and a read-only connection
// of its own, its result handed back through the event loop of the thread that asked for it.
#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

namespace pylon {

class Database;

class BackgroundRead {
  public:
    // Opens the file at `path` read-only and runs `work` over that connection on a thread; `done` is
    // called afterwards on the thread that made the reading, through its event loop, and never once the
    // reading is gone. A file that cannot be opened runs no work: `done` is still called, and
    // `opened()` says so.
    BackgroundRead(const QString& path, std::function<void(Database&)> work, std::function<void()> done);
    // Stops a reading still under way and waits for its thread.
    ~BackgroundRead();
    BackgroundRead(const BackgroundRead&) = delete;
    BackgroundRead& operator=(const BackgroundRead&) = delete;

    bool opened() const { return opened_; }
    // The work has ended (its `done` may still be on its way).
    bool finished() const { return done_; }
    // The connection, for the work's results that keep reading through it once handed over (a list's
    // moment of the file). Only after `done`, when the thread no longer uses it.
    std::unique_ptr<Database> takeConnection();

  private:
    std::unique_ptr<Database> db_;
    bool opened_ = false;
    // Held past the reading's end when it is destroyed from its own `done`, which runs in one of the
    // receiver's events; `alive_` keeps a `done` still queued from running after that.
    QObject* receiver_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    std::atomic<bool> done_{false};
    std::thread thread_;
};

} // namespace pylon
