#include "backup_commands.h"

#include "db_commands.h"
#include "store/daily_snapshots.h"
#include "store/database.h"
#include "store/sales_ledger.h"
#include "store/snapshot.h"
#include "store/table_csv.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cstdio>

namespace pylon::dbtool {

namespace {

bool alreadyThere(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// A copy of the file about to be replaced: through SQLite when it can still be read as a database, else
// byte for byte with its log, so that even a damaged file can be looked at again. Empty when none could
// be made.
QString keepReplacedFile(const QString& path) {
    const QString folder = daily_snapshots::folderBeside(path);
    QDir().mkpath(folder);
    const QString kept = QDir(folder).filePath(
        QStringLiteral("%1-avant-restauration-%2.db")
            .arg(QFileInfo(path).fileName(),
                 QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss"))));
    if (alreadyThere(kept)) return {};
    if (snapshot::copyDatabase(path, kept).ok) return kept;
    if (!QFile::copy(path, kept)) return {};
    if (QFileInfo::exists(path + QStringLiteral("-wal")) &&
        !QFile::copy(path + QStringLiteral("-wal"), kept + QStringLiteral("-wal"))) {
        QFile::remove(kept);
        return {};
    }
    return kept;
}

} // namespace

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
    if (!done.ok) return fail(done.detail);
    printLine(QStringLiteral("%1 -> %2").arg(path, target));
    return 0;
}

int restoreDatabase(const QString& backup, const QString& path, bool force) {
    if (const snapshot::Outcome sound = snapshot::checkCopy(backup); !sound.ok)
        return fail(QStringLiteral("%1 cannot be restored: %2").arg(backup, sound.detail));
    if (alreadyThere(path)) {
        if (!force)
            return fail(
                QStringLiteral("%1 already exists; it is left untouched (with --force it is replaced, "
                               "after a copy of it is kept)")
                    .arg(path));
        const QString kept = keepReplacedFile(path);
        if (kept.isEmpty())
            return fail(QStringLiteral("no copy of %1 could be kept; it is left untouched").arg(path));
        printLine(QStringLiteral("%1 -> %2 (the file replaced)").arg(path, kept));
    }
    const snapshot::Outcome done = snapshot::replaceWithCopy(backup, path);
    if (!done.ok) return fail(done.detail);
    printLine(QStringLiteral("%1 -> %2").arg(backup, path));
    return 0;
}

int exportTables(const QString& path, const QString& folder) {
    Database db;
    if (const QString why = openOursForReading(db, path); !why.isEmpty()) return fail(why);
    QString why;
    if (!table_csv::exportTables(db, folder, &why))
        return fail(QStringLiteral("cannot export %1: %2").arg(path, why));
    printLine(QStringLiteral("%1 -> %2 (Facture.csv, DetFact.csv, AVOIR.csv, CliEC.csv)").arg(path, folder));
    return 0;
}

int importTables(const QString& folder, const QString& path) {
    QString why;
    if (!table_csv::importTables(folder, path, &why))
        return fail(QStringLiteral("cannot import %1: %2").arg(folder, why));
    printLine(QStringLiteral("%1 -> %2").arg(folder, path));
    return 0;
}

int printJournal(const QString& path, const QDate& from, const QDate& to, const QString& csvFile) {
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
