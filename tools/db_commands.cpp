#include "db_commands.h"

#include "dump_text.h"
#include "store/database.h"
#include "store/schema.h"

#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace pylon::dbtool {

namespace {

// A dangling link counts too: creating the database would write through it.
bool alreadyThere(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// A half-made database is worse than none: whoever runs the tool again would have to delete it first.
void removeDatabase(Database& db, const QString& path) {
    db.close();
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        QFile::remove(path + QLatin1String(suffix));
}

} // namespace

// Reading changes nothing: read-only, so neither the journal mode is switched nor the log copied into the
// file (the saves waiting in it are read all the same).
QString openForReading(Database& db, const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) return QStringLiteral("%1: no such file").arg(path);
    if (!info.isFile()) return QStringLiteral("%1 is not a file").arg(path);
    if (!db.open(path, Database::Mode::ReadOnly))
        return QStringLiteral("cannot open %1: %2").arg(path, db.lastError());
    return {};
}

int fail(const QString& message) {
    printError(message);
    return 1;
}

QString openOursForReading(Database& db, const QString& path) {
    if (QString why = openForReading(db, path); !why.isEmpty()) return why;
    // Tell a file that is not a database, or not ours, in one line rather than by an empty text.
    if (schema::hasTables(db)) return {};
    if (!db.lastError().isEmpty()) return QStringLiteral("cannot read %1: %2").arg(path, db.lastError());
    return QStringLiteral("%1 lacks one of the tables Facture, DetFact, AVOIR, CliEC").arg(path);
}

void printError(const QString& message) {
    std::fprintf(stderr, "pylon-db: %s\n", message.toUtf8().constData());
}

void printLine(const QString& line) {
    std::fprintf(stdout, "%s\n", line.toUtf8().constData());
}

int initDatabase(const QString& path) {
    if (alreadyThere(path)) return fail(QStringLiteral("%1 already exists; it is left untouched").arg(path));
    Database db;
    if (!db.open(path, Database::Mode::Create))
        return fail(QStringLiteral("cannot create %1: %2").arg(path, db.lastError()));
    if (!schema::createTables(db)) {
        const QString why = db.lastError();
        removeDatabase(db, path);
        return fail(QStringLiteral("cannot create the tables in %1: %2").arg(path, why));
    }
    printLine(QStringLiteral("empty database -> %1").arg(path));
    return 0;
}

int makeDemo(const QString& path, const demo::DemoOptions& options) {
    if (alreadyThere(path)) return fail(QStringLiteral("%1 already exists; it is left untouched").arg(path));
    Database db;
    if (!db.open(path, Database::Mode::Create))
        return fail(QStringLiteral("cannot create %1: %2").arg(path, db.lastError()));

    // Nobody else sees the file before we are done and a failure deletes it, so the bulk load can do without
    // the journal and the waits for the disk. The indexes come last: building them once over sorted data is
    // much cheaper than updating them row by row.
    demo::DemoSummary summary;
    const bool written = [&] {
        if (!db.exec(QStringLiteral("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; "
                                    "PRAGMA cache_size=-65536; PRAGMA temp_store=MEMORY;")) ||
            !db.exec(schema::createTablesSql()))
            return false;
        Transaction t(db);
        return t.active() && demo::writeDemo(db, options, summary) && t.commit() &&
               schema::ensureAdditions(db);
    }();
    // The program expects a write-ahead log; the mode is stored in the file and outlives this connection.
    const bool wal = written && db.scalar(QStringLiteral("PRAGMA journal_mode=WAL"))
                                        .toString()
                                        .compare(u"wal", Qt::CaseInsensitive) == 0;
    if (!wal) {
        const QString why =
            db.lastError().isEmpty() ? QStringLiteral("cannot switch to WAL mode") : db.lastError();
        removeDatabase(db, path);
        return fail(QStringLiteral("cannot fill %1: %2").arg(path, why));
    }
    db.close();
    printLine(QStringLiteral("%1 documents, %2 lines, %3 clients, %4 suppliers -> %5")
                  .arg(summary.documents)
                  .arg(summary.lines)
                  .arg(summary.clients)
                  .arg(summary.suppliers)
                  .arg(path));
    return 0;
}

int checkDatabase(const QString& path) {
    Database db;
    if (const QString why = openForReading(db, path); !why.isEmpty()) return fail(why);
    const QStringList problems = schema::check(db);
    for (const QString& p : problems)
        printLine(p);
    if (!problems.isEmpty()) return 1;
    printLine(QStringLiteral("ok"));
    return 0;
}

int dumpDatabase(const QString& path) {
    Database db;
    if (const QString why = openOursForReading(db, path); !why.isEmpty()) return fail(why);
    QString why;
    if (!writeDump(db, stdout, &why)) return fail(QStringLiteral("cannot read %1: %2").arg(path, why));
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        return fail(QStringLiteral("cannot write the text of %1").arg(path));
    return 0;
}

} // namespace pylon::dbtool
