#include "backup/file_guard.h"

#include <QFile>
#include <QFileInfo>
#include <cstring>
#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

namespace pylon::file_guard {

namespace {

const char* const kSuffixes[] = {"-wal", "-shm", "-journal"};

// Where SQLite's unix locks lie: the byte it locks while taking a lock, the byte of a pending write, and
// the bytes one of which every reader locks; in the shared-memory file, the byte every connection locks
// while it has the file open.
constexpr off_t kLockBytes = 0x40000000;
constexpr off_t kLockLength = 2 + 510;
constexpr off_t kSharedMemoryOpen = 128;

// Whether another process holds a lock that overlaps the range. Asked through a descriptor of our own
// that is closed at once: this process must not hold SQLite locks on the file meanwhile, since closing any
// descriptor of a file drops every lock the process has on it.
bool lockedByAnother(const QString& file, off_t start, off_t length) {
    const int fd = ::open(QFile::encodeName(file).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct flock probe;
    std::memset(&probe, 0, sizeof probe);
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = start;
    probe.l_len = length;
    const bool locked = ::fcntl(fd, F_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
    ::close(fd);
    return locked;
}

} // namespace

QStringList companionsOf(const QString& path) {
    QStringList names;
    for (const char* suffix : kSuffixes)
        names << path + QLatin1String(suffix);
    return names;
}

bool isDatabaseFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && f.read(16) == QByteArray("SQLite format 3", 16);
}

bool isCompanionOfAFile(const QString& path) {
    for (const char* suffix : kSuffixes)
        if (path.endsWith(QLatin1String(suffix)) && path.size() > qsizetype(std::strlen(suffix)) &&
            QFileInfo(path.chopped(qsizetype(std::strlen(suffix)))).isFile())
            return true;
    return false;
}

bool heldByAnother(const QString& path) {
    return lockedByAnother(path, kLockBytes, kLockLength) || logInUse(path);
}

bool logInUse(const QString& path) {
    return lockedByAnother(path + QStringLiteral("-shm"), kSharedMemoryOpen, 1);
}

bool removeCompanions(const QString& path) {
    bool gone = true;
    for (const QString& name : companionsOf(path)) {
        const QFileInfo info(name);
        if (!info.exists() && !info.isSymLink()) continue;
        if (!QFile::remove(name)) gone = false;
    }
    return gone;
}

ExclusiveHold::Result ExclusiveHold::take(const QString& path) {
    release();
    error_.clear();
    int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, SQLITE_OPEN_READWRITE, nullptr);
    // Exclusive locking before the first read: the log is then read without the shared-memory file, and
    // every lock taken is kept until the connection closes. No wait: a lock held elsewhere means the file
    // is open elsewhere.
    if (rc == SQLITE_OK) rc = sqlite3_exec(db_, "PRAGMA locking_mode=EXCLUSIVE", nullptr, nullptr, nullptr);
    // The log is kept when the connection closes: by then its name may be another file's.
    int persist = 1;
    if (rc == SQLITE_OK) sqlite3_file_control(db_, "main", SQLITE_FCNTL_PERSIST_WAL, &persist);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db_, "BEGIN EXCLUSIVE; SELECT count(*) FROM sqlite_master; COMMIT;", nullptr,
                          nullptr, nullptr);
    // Whatever the log holds, into the file: the file is then whole without it.
    if (rc == SQLITE_OK) rc = sqlite3_exec(db_, "PRAGMA wal_checkpoint(TRUNCATE)", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) return Result::Taken;
    error_ = QString::fromUtf8(db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc));
    const int primary = (db_ ? sqlite3_extended_errcode(db_) : rc) & 0xff;
    release();
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED ? Result::InUse : Result::NotADatabase;
}

void ExclusiveHold::release() {
    sqlite3_close_v2(db_);
    db_ = nullptr;
}

} // namespace pylon::file_guard
