#pragma once
// Reading a whole file for damage takes seconds at a million documents, so it is not done before the
// first document is shown: it runs afterwards, on a read-only connection and a thread of its own, while
// the user works.
#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

namespace pylon {

class Database;

class DamageCheck {
  public:
    // Starts reading the file at path. `found` is called later, on the thread that made the check, with
    // SQLite's account of the damage, and only when the file is damaged: not when it is sound, nor when it
    // could not be read to the end for another reason (a read that fails is said when it matters, by the
    // command that meets it).
    DamageCheck(const QString& path, std::function<void(const QString& problem)> found);
    // Stops a check still running and waits for its thread.
    ~DamageCheck();
    DamageCheck(const DamageCheck&) = delete;
    DamageCheck& operator=(const DamageCheck&) = delete;

  private:
    std::unique_ptr<Database> db_;
    QObject receiver_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> done_{false};
    std::thread thread_;
};

} // namespace pylon
