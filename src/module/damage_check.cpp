#include "module/damage_check.h"

#include "store/database.h"
#include "store/db_errors.h"

#include <chrono>

namespace pylon {

DamageCheck::DamageCheck(const QString& path, std::function<void(const QString& problem)> found)
    : db_(std::make_unique<Database>()) {
    // Opened here, so that the file is the one the program has just opened; read on the thread.
    if (!db_->open(path, Database::Mode::ReadOnly)) return;
    thread_ = std::thread([this, found = std::move(found)] {
        const bool sound = db_->checkForDamage([this] { return !stop_.load(); });
        const db_errors::Fault fault = db_errors::faultOf(db_->lastErrorCode());
        if (!sound && !stop_ &&
            (fault == db_errors::Fault::Damaged || fault == db_errors::Fault::NotADatabase)) {
            const QString problem = db_->lastError();
            // The receiver lives on the thread that made the check: the call waits there for its event
            // loop, and is dropped if the check has gone by then.
            QMetaObject::invokeMethod(
                &receiver_, [found, problem] { found(problem); }, Qt::QueuedConnection);
        }
        done_ = true;
    });
}

DamageCheck::~DamageCheck() {
    stop_ = true;
    // Most of the reading happens inside one step of SQLite, which only an interrupt stops; one sent just
    // before that step begins is lost, so it is sent again until the thread is done.
    while (thread_.joinable() && !done_) {
        db_->interrupt();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (thread_.joinable()) thread_.join();
}

} // namespace pylon
