#include "backup_commands.h"

#include "backup/daily_snapshots.h"
#include "backup/file_guard.h"
#include "backup/snapshot.h"
#include "backup/table_csv.h"
#include "db_commands.h"
#include "figures/sales_ledger.h"
#include "store/database.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cstdio>
#include <sqlite3.h>

namespace pylon::dbtool {

namespace {

bool alreadyThere(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// The one message in French: the user who reads it has the program open and must close it.
int refuseInUse(const QString& path) {
    return fail(QStringLiteral("La base de données %1 est ouverte par un autre programme (Pylon Beta ?). "
                               "Fermez-le, puis recommencez.")
                    .arg(path));
}

// A copy of the file about to be replaced: through the hold, which has copied the file's log into it,
// when it can be read as a database; else byte for byte with its log, so that even a damaged file can be
// looked at again. Empty when none could be made.
QString keepReplacedFile(const QString& path, const file_guard::ExclusiveHold& hold) {
    const QString folder = daily_snapshots::folderBeside(path);
    QDir().mkpath(folder);
    const QString kept = QDir(folder).filePath(
        QStringLiteral("%1-avant-restauration-%2.db")
            .arg(QFileInfo(path).fileName(),
                 QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss"))));
    if (alreadyThere(kept)) return {};
    if (hold.held()) return snapshot::copyHeldDatabase(hold, path, kept).ok ? kept : QString();
    if (!QFile::copy(path, kept)) return {};
    if (QFileInfo::exists(path + QStringLiteral("-wal")) &&
        !QFile::copy(path + QStringLiteral("-wal"), kept + QStringLiteral("-wal"))) {
        QFile::remove(kept);
        return {};
    }
    return kept;
}

} // namespace

QString outputRefusal(const QString& file, bool force) {
    const QFileInfo info(file);
    const QString real = info.exists() ? info.canonicalFilePath() : file;
    if (file_guard::isCompanionOfAFile(file) || file_guard::isCompanionOfAFile(real))
        return QStringLiteral("%1 is the log of a database; it is left untouched").arg(file);
    if (info.exists() && file_guard::isDatabaseFile(file))
        return QStringLiteral("%1 is a database; it is left untouched").arg(file);
    if ((info.exists() || info.isSymLink()) && !force)
        return QStringLiteral("%1 already exists; it is left untouched (with --force it is replaced)")
            .arg(file);
    return {};
}

int backupDatabase(const QString& path, const QString& dest) {
    if (!QFileInfo(path).isFile()) return fail(QStringLiteral("%1: no such file").arg(path));
    const QDate today = QDate::currentDate();
    if (dest.isEmpty()) {
        const QString folder = daily_snapshots::folderBeside(path);
        const snapshot::Outcome done = daily_snapshots::takeSnapshot(path, folder, today);
        if (!done.ok) return fail(done.detail);
        printLine(QStringLiteral("%1 -> %2").arg(path, daily_snapshots::snapshotPath(folder, path, today)));
        return 0;
    }
    const QString target = QFileInfo(dest).isDir() ? daily_snapshots::snapshotPath(dest, path, today) : dest;
    if (alreadyThere(target))
        return fail(QStringLiteral("%1 already exists; it is left untouched").arg(target));
    const snapshot::Outcome done = snapshot::copyDatabase(path, target);
    if (!done.ok) return done.code == SQLITE_BUSY ? refuseInUse(target) : fail(done.detail);
    printLine(QStringLiteral("%1 -> %2").arg(path, target));
    return 0;
}

int restoreDatabase(const QString& backup, const QString& path, bool force) {
    if (const snapshot::Outcome sound = snapshot::checkCopy(backup); !sound.ok)
        return fail(QStringLiteral("%1 cannot be restored: %2").arg(backup, sound.detail));
    if (QFileInfo(backup).canonicalFilePath() == QFileInfo(path).canonicalFilePath())
        return fail(QStringLiteral("%1 is the file to replace itself; it is left untouched").arg(backup));
    const bool replacing = alreadyThere(path);
    if (replacing && !force)
        return fail(QStringLiteral("%1 already exists; it is left untouched (with --force it is replaced, "
                                   "after a copy of it is kept)")
                        .arg(path));
    if (file_guard::heldByAnother(path)) return refuseInUse(path);
    // The file is held from before its copy is kept until the new one has its name: a save made meanwhile
    // would be in neither. Its log is copied into it first, so that it is whole by itself whatever happens
    // next; a file SQLite cannot read (damaged) goes without the hold, and is kept byte for byte.
    file_guard::ExclusiveHold hold;
    if (replacing && QFileInfo(path).isFile() && hold.take(path) == file_guard::ExclusiveHold::Result::InUse)
        return refuseInUse(path);
    if (replacing) {
        const QString kept = keepReplacedFile(path, hold);
        if (kept.isEmpty())
            return fail(QStringLiteral("no copy of %1 could be kept; it is left untouched").arg(path));
        printLine(QStringLiteral("%1 -> %2 (the file replaced)").arg(path, kept));
    }
    const snapshot::Outcome done = snapshot::replaceWithCopy(backup, path);
    hold.release();
    if (!done.ok) return done.code == SQLITE_BUSY ? refuseInUse(path) : fail(done.detail);
    printLine(QStringLiteral("%1 -> %2").arg(backup, path));
    return 0;
}

int exportTables(const QString& path, const QString& folder) {
    // The four names are replaced without --force, being the export's own, but never a database under them.
    for (const char* table : {"Facture", "DetFact", "AVOIR", "CliEC"})
        if (const QString refused =
                outputRefusal(QDir(folder).filePath(QLatin1String(table) + QStringLiteral(".csv")), true);
            !refused.isEmpty())
            return fail(refused);
    Database db;
    if (const QString why = openOursForReading(db, path); !why.isEmpty()) return fail(why);
    QString why;
    if (!table_csv::exportTables(db, folder, &why))
        return fail(QStringLiteral("cannot export %1: %2").arg(path, why));
    printLine(QStringLiteral("%1 -> %2 (Facture.csv, DetFact.csv, AVOIR.csv, CliEC.csv)").arg(path, folder));
    return 0;
}

int importTables(const QString& folder, const QString& path) {
    // An existing file is refused as such below: closing the program would not help.
    if (!alreadyThere(path) && file_guard::heldByAnother(path)) return refuseInUse(path);
    QString why;
    if (!table_csv::importTables(folder, path, &why))
        return fail(QStringLiteral("cannot import %1: %2").arg(folder, why));
    printLine(QStringLiteral("%1 -> %2").arg(folder, path));
    return 0;
}

int printJournal(const QString& path, const QDate& from, const QDate& to, const QString& csvFile,
                 bool force) {
    Database db;
    if (const QString why = openOursForReading(db, path); !why.isEmpty()) return fail(why);
    QString why;
    const auto ledger = readSalesLedger(db, from, to, &why);
    if (!ledger) return fail(QStringLiteral("cannot read %1: %2").arg(path, why));
    const QByteArray text = salesLedgerCsv(*ledger);
    if (csvFile.isEmpty()) {
        // The byte-order mark is for spreadsheets, not for a terminal or a pipe.
        const QByteArray shown = text.mid(3);
        std::fwrite(shown.constData(), 1, size_t(shown.size()), stdout);
        if (std::fflush(stdout) != 0 || std::ferror(stdout))
            return fail(QStringLiteral("cannot write the ledger"));
        return 0;
    }
    if (const QString refused = outputRefusal(csvFile, force); !refused.isEmpty()) return fail(refused);
    QSaveFile out(csvFile);
    if (!out.open(QIODevice::WriteOnly) || out.write(text) != text.size() || !out.commit())
        return fail(QStringLiteral("cannot write %1: %2").arg(csvFile, out.errorString()));
    printLine(QStringLiteral("%1 documents (%2 cancelled) -> %3")
                  .arg(ledger->entries.size())
                  .arg(ledger->cancelled)
                  .arg(csvFile));
    return 0;
}

} // namespace pylon::dbtool
