#include "backup/daily_snapshots.h"

#include "store/db_errors.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <set>

namespace pylon::daily_snapshots {

namespace {

QString baseName(const QString& database) {
    return QFileInfo(database).fileName();
}

QString settingsCopy(const QString& folder, const QDate& day) {
    return QDir(folder).filePath(QStringLiteral("Pylon-%1.ini").arg(day.toString(Qt::ISODate)));
}

// The settings file beside the database, copied whole under a temporary name and then renamed.
snapshot::Outcome copySettings(const QString& database, const QString& folder, const QDate& day) {
    const QString settings = QFileInfo(database).absoluteDir().filePath(QString::fromLatin1(kSettingsFile));
    if (!QFileInfo::exists(settings)) return snapshot::Outcome::done();
    const QString target = settingsCopy(folder, day);
    const QString temporary = target + QStringLiteral(".tmp");
    QFile::remove(temporary);
    if (QFile::copy(settings, temporary) && snapshot::renameDurably(temporary, target))
        return snapshot::Outcome::done();
    QFile::remove(temporary);
    return snapshot::Outcome::failed(db_errors::kCantOpen,
                                     QStringLiteral("cannot copy %1 to %2").arg(settings, target));
}

// What a copy cut short by the end of the program left behind; a day is far longer than any copy.
void removeLeftovers(const QString& folder, const QString& database) {
    const QDir dir(folder);
    const QDateTime dayAgo = QDateTime::currentDateTime().addDays(-1);
    for (const QFileInfo& f : dir.entryInfoList(
             {baseName(database) + QStringLiteral("-*.tmp"), QStringLiteral("Pylon-*.ini.tmp")}, QDir::Files))
        if (f.lastModified() < dayAgo) QFile::remove(f.absoluteFilePath());
}

} // namespace

QString folderBeside(const QString& database) {
    return QFileInfo(database).absoluteDir().filePath(QString::fromLatin1(kFolderName));
}

QString snapshotPath(const QString& folder, const QString& database, const QDate& day) {
    return QDir(folder).filePath(
        QStringLiteral("%1-%2.db").arg(baseName(database), day.toString(Qt::ISODate)));
}

std::vector<QDate> toDelete(std::vector<QDate> existing, const QDate& today) {
    std::sort(existing.begin(), existing.end());
    existing.erase(std::unique(existing.begin(), existing.end()), existing.end());
    std::set<QDate> kept;
    int daily = 0;
    for (auto d = existing.rbegin(); d != existing.rend(); ++d)
        if (*d > today || daily++ < kDailyKept) kept.insert(*d);
    const QDate firstMonth = QDate(today.year(), today.month(), 1).addMonths(1 - kMonthsKept);
    std::set<std::pair<int, int>> months;
    for (const QDate& d : existing)
        if (d >= firstMonth && d <= today && months.insert({d.year(), d.month()}).second) kept.insert(d);
    std::vector<QDate> out;
    for (const QDate& d : existing)
        if (!kept.count(d)) out.push_back(d);
    return out;
}

std::vector<QDate> snapshotDays(const QString& folder, const QString& database) {
    const QRegularExpression name(QStringLiteral("^%1-(\\d{4}-\\d{2}-\\d{2})\\.db$")
                                      .arg(QRegularExpression::escape(baseName(database))));
    std::vector<QDate> days;
    for (const QString& file : QDir(folder).entryList(QDir::Files)) {
        const auto match = name.match(file);
        if (!match.hasMatch()) continue;
        if (const QDate d = QDate::fromString(match.captured(1), Qt::ISODate); d.isValid()) days.push_back(d);
    }
    return days;
}

snapshot::Outcome takeSnapshot(const QString& database, const QString& folder, const QDate& today) {
    if (!QDir().mkpath(folder))
        return snapshot::Outcome::failed(db_errors::kCantOpen,
                                         QStringLiteral("cannot make the folder %1").arg(folder));
    snapshot::Outcome outcome = snapshot::copyDatabase(database, snapshotPath(folder, database, today));
    if (outcome.ok) outcome = copySettings(database, folder, today);
    if (!outcome.ok) return outcome;
    for (const QDate& d : toDelete(snapshotDays(folder, database), today)) {
        QFile::remove(snapshotPath(folder, database, d));
        QFile::remove(settingsCopy(folder, d));
    }
    removeLeftovers(folder, database);
    return outcome;
}

} // namespace pylon::daily_snapshots
