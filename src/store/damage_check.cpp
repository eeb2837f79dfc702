#include "store/damage_check.h"

#include "store/database.h"
#include "store/db_errors.h"

namespace pylon {

DamageCheck::DamageCheck(const QString& path, std::function<void(const QString& problem)> found)
    : db_(std::make_unique<Database>()) {
    // Opened here, so that the file is the one the program has just opened; read on the thread.
    if (!db_->open(path, Database::Mode::ReadOnly)) return;
    thread_ = std::thread([this, found = std::move(found)] {
        if (db_->checkForDamage([this] { return !stop_.load(); })) return;
        const db_errors::Fault fault = db_errors::faultOf(db_->lastErrorCode());
        if (fault != db_errors::Fault::Damaged && fault != db_errors::Fault::NotADatabase) return;
        const QString problem = db_->lastError();
        // The receiver lives on the thread that made the check: the call waits there for its event loop,
        // and is dropped if the check has gone by then.
        QMetaObject::invokeMethod(
            &receiver_, [found, problem] { found(problem); }, Qt::QueuedConnection);
    });
}

DamageCheck::~DamageCheck() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

} // namespace pylon
