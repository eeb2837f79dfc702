#pragma once
// The snapshots of the database kept in a folder beside it, one a day: `Sauvegardes/VelD-2026-11-30.db`,
// with the shop's settings `Pylon.ini` beside it as `Pylon-2026-11-30.ini` when there is one. The last
// seven days' snapshots are kept, and the first snapshot of each of the last twelve months.
#include "backup/snapshot.h"

#include <QDate>
#include <QString>
#include <vector>

namespace pylon::daily_snapshots {

inline constexpr const char* kFolderName = "Sauvegardes";
inline constexpr const char* kSettingsFile = "Pylon.ini";
inline constexpr int kDailyKept = 7;
inline constexpr int kMonthsKept = 12;

// The folder of snapshots beside the database file.
QString folderBeside(const QString& database);
// The day's snapshot of the database in the folder: "VelD-2026-11-30.db" for the file "VelD".
QString snapshotPath(const QString& folder, const QString& database, const QDate& day);

// Which snapshots go, given the days of those there are and today: all but the kDailyKept latest and the
// first of each of the kMonthsKept months up to today's. Snapshots dated after today (a clock put back)
// are neither counted nor deleted. The days to delete, earliest first.
std::vector<QDate> toDelete(std::vector<QDate> existing, const QDate& today);

// The days of the database's snapshots found in the folder.
std::vector<QDate> snapshotDays(const QString& folder, const QString& database);

// Today's snapshot of the database (replacing an earlier one of the same day), the settings copied beside
// it, then, once both are sound, the snapshots the rule above lets go deleted. The folder is made when
// missing. Nothing older is deleted after a failure.
snapshot::Outcome takeSnapshot(const QString& database, const QString& folder, const QDate& today);

} // namespace pylon::daily_snapshots
