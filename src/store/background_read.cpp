#include "store/background_read.h"

#include "store/database.h"

#include <chrono>

namespace pylon {

BackgroundRead::BackgroundRead(const QString& path, std::function<void(Database&)> work,
                               std::function<void()> done)
    : db_(std::make_unique<Database>()), receiver_(new QObject) {
    auto whileAlive = [alive = alive_, done = std::move(done)] {
        if (*alive) done();
    };
    opened_ = db_->open(path, Database::Mode::ReadOnly);
    if (!opened_) {
        done_ = true;
        QMetaObject::invokeMethod(receiver_, std::move(whileAlive), Qt::QueuedConnection);
        return;
    }
    thread_ = std::thread([this, work = std::move(work), whileAlive = std::move(whileAlive)] {
        work(*db_);
        done_ = true;
        QMetaObject::invokeMethod(receiver_, whileAlive, Qt::QueuedConnection);
    });
}

BackgroundRead::~BackgroundRead() {
    // A read runs inside SQLite, which only an interrupt stops; one sent just before a statement begins is
    // lost, so it is sent again until the thread is done.
    while (thread_.joinable() && !done_) {
        db_->interrupt();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (thread_.joinable()) thread_.join();
    *alive_ = false;
    receiver_->deleteLater();
}

std::unique_ptr<Database> BackgroundRead::takeConnection() {
    if (thread_.joinable()) thread_.join();
    return std::move(db_);
}

} // namespace pylon
