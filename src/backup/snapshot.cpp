#include "backup/snapshot.h"

#include "backup/file_guard.h"
#include "store/database.h"
#include "store/db_errors.h"
#include "store/schema.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <atomic>
#include <cstdio>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pylon::snapshot {

namespace {

// Unique within the process and across processes, so that two copies under way never share a file.
QString temporaryBeside(const QString& target) {
    static std::atomic<int> counter{0};
    return QStringLiteral("%1.%2-%3.tmp").arg(target).arg(QCoreApplication::applicationPid()).arg(++counter);
}

struct Connection {
    sqlite3* db = nullptr;
    ~Connection() { sqlite3_close_v2(db); }
};

Outcome engineFailure(sqlite3* db, int rc, const QString& what) {
    const int code = db && sqlite3_extended_errcode(db) != SQLITE_OK ? sqlite3_extended_errcode(db) : rc;
    const QString message = db && sqlite3_errcode(db) != SQLITE_OK ? QString::fromUtf8(sqlite3_errmsg(db))
                                                                   : QString::fromUtf8(sqlite3_errstr(rc));
    return Outcome::failed(code, QStringLiteral("%1: %2").arg(what, message));
}

// The pages of `source` into a new file. All of them in one step, so in one read transaction of the
// source: the copy is the file as it stood at that moment, whatever is written meanwhile.
Outcome copyPages(sqlite3* source, const QString& sourcePath, const QString& file) {
    Connection dest;
    int rc = sqlite3_open_v2(QFile::encodeName(file).constData(), &dest.db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) return engineFailure(dest.db, rc, QStringLiteral("cannot create %1").arg(file));
    // Nobody opens the file before it is renamed and a failure removes it: no journal is needed while
    // copying, only the wait for the disk at the end.
    sqlite3_exec(dest.db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=FULL;", nullptr, nullptr, nullptr);
    sqlite3_backup* backup = sqlite3_backup_init(dest.db, "main", source, "main");
    if (!backup) return engineFailure(dest.db, SQLITE_ERROR, QStringLiteral("cannot start the copy"));
    // A file in the old journal mode may be locked by a writer for a moment; a log never blocks a reader.
    QElapsedTimer clock;
    clock.start();
    while (((rc = sqlite3_backup_step(backup, -1)) == SQLITE_BUSY || rc == SQLITE_LOCKED) &&
           clock.elapsed() < 10000)
        sqlite3_sleep(50);
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE)
        return engineFailure(nullptr, rc, QStringLiteral("cannot copy %1").arg(sourcePath));
    // The copy took the source's log mode with its first page: it is made a file of its own again, which
    // opens read-only anywhere.
    rc = sqlite3_exec(dest.db, "PRAGMA journal_mode=DELETE;", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) return engineFailure(dest.db, rc, QStringLiteral("cannot finish %1").arg(file));
    rc = sqlite3_close(dest.db);
    dest.db = nullptr;
    if (rc != SQLITE_OK) return engineFailure(nullptr, rc, QStringLiteral("cannot close %1").arg(file));
    return Outcome::done();
}

void removeWithCompanions(const QString& path) {
    QFile::remove(path);
    file_guard::removeCompanions(path);
}

// Copied, checked, and only then put in place; the temporary file goes whatever happens.
Outcome copyCheckPlace(sqlite3* source, const QString& sourcePath, const QString& target) {
    const QString temporary = temporaryBeside(target);
    Outcome outcome = copyPages(source, sourcePath, temporary);
    if (outcome.ok) outcome = checkCopy(temporary);
    if (outcome.ok) outcome = putInPlace(temporary, target);
    if (!outcome.ok) removeWithCompanions(temporary);
    return outcome;
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// A log with something in it: SQLite would apply it to the file beside it.
bool holdsALog(const QString& file) {
    const QFileInfo info(file);
    return info.exists() && (!info.isFile() || info.size() > 0);
}

Outcome openSource(Database& db, const QString& path) {
    if (!QFileInfo(path).isFile())
        return Outcome::failed(db_errors::kCantOpen, QStringLiteral("%1: no such file").arg(path));
    if (!db.open(path, Database::Mode::ReadOnly))
        return Outcome::failed(db.lastErrorCode(),
                               QStringLiteral("cannot open %1: %2").arg(path, db.lastError()));
    return Outcome::done();
}

} // namespace

Outcome copyDatabase(const QString& source, const QString& target) {
    Database db;
    if (Outcome opened = openSource(db, source); !opened.ok) return opened;
    return copyCheckPlace(db.handle(), source, target);
}

Outcome copyHeldDatabase(const file_guard::ExclusiveHold& held, const QString& source,
                         const QString& target) {
    return copyCheckPlace(held.handle(), source, target);
}

Outcome checkCopy(const QString& path) {
    Database db;
    if (Outcome opened = openSource(db, path); !opened.ok) return opened;
    auto st = db.prepare(QStringLiteral("PRAGMA quick_check"));
    QString problem;
    while (st && st->step())
        if (const QString r = st->value(0).toString(); r != u"ok" && problem.isEmpty()) problem = r;
    if (!problem.isEmpty())
        return Outcome::failed(SQLITE_CORRUPT, QStringLiteral("%1 is damaged: %2").arg(path, problem));
    if (!st || !st->ok())
        return Outcome::failed(db.lastErrorCode(),
                               QStringLiteral("cannot read %1: %2").arg(path, db.lastError()));
    if (!schema::hasTables(db))
        return Outcome::failed(
            db_errors::kNotOurs,
            QStringLiteral("%1 lacks one of the tables Facture, DetFact, AVOIR, CliEC").arg(path));
    return Outcome::done();
}

Outcome replaceWithCopy(const QString& copy, const QString& target) {
    Database db;
    if (Outcome opened = openSource(db, copy); !opened.ok) return opened;
    return copyCheckPlace(db.handle(), copy, target);
}

Outcome putInPlace(const QString& file, const QString& target) {
    // The log files of a file still open elsewhere (deleted or moved, but open) are that program's.
    if (file_guard::logInUse(target))
        return Outcome::failed(SQLITE_BUSY, QStringLiteral("%1 is open in another program").arg(target));
    if (!file_guard::removeCompanions(target))
        return Outcome::failed(SQLITE_CANTOPEN,
                               QStringLiteral("cannot remove the log files left beside %1").arg(target));
    struct stat checked, placed;
    if (::stat(QFile::encodeName(file).constData(), &checked) != 0 || !renameDurably(file, target))
        return Outcome::failed(SQLITE_CANTOPEN, QStringLiteral("cannot rename %1 to %2").arg(file, target));
    // The file under its final name must be the one checked, with no log beside it to change it.
    if (::stat(QFile::encodeName(target).constData(), &placed) != 0 || !sameFile(checked, placed))
        return Outcome::failed(SQLITE_CANTOPEN,
                               QStringLiteral("%1 was replaced by another program meanwhile").arg(target));
    for (const char* suffix : {"-wal", "-journal"})
        if (holdsALog(target + QLatin1String(suffix)))
            return Outcome::failed(SQLITE_CANTOPEN, QStringLiteral("a log appeared beside %1 meanwhile: %2")
                                                        .arg(target, target + QLatin1String(suffix)));
    return Outcome::done();
}

bool renameDurably(const QString& from, const QString& to) {
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        return false;
    // The rename is a change of the folder: it lasts once the folder itself is on disk.
    const int dir =
        ::open(QFile::encodeName(QFileInfo(to).absolutePath()).constData(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

} // namespace pylon::snapshot
