#pragma once
// pylon-db's commands that keep the business safe and hand it to the accountant: copies taken and put
// back, the tables as CSV files and back, the sales ledger of a period. Each prints its own messages and
// returns the exit code: 0 done, 1 failed (with a one-line reason on stderr).
#include <QDate>
#include <QString>

namespace pylon::dbtool {

// A copy of the file, its log included, while the program may be writing to it. Without DEST, the day's
// snapshot in the folder beside it, as the program takes it (Pylon.ini too, older snapshots pruned);
// DEST is a new file, or a folder to put the day's snapshot in. Never overwrites a file given as DEST.
int backupDatabase(const QString& path, const QString& dest);
// Puts a checked backup in place of PATH. An existing PATH is replaced only with force, and then a copy
// of it is first kept in the folder of snapshots beside it. Refused while another program has PATH open.
int restoreDatabase(const QString& backup, const QString& path, bool force);
// The four tables as CSV files in the folder. Only reads.
int exportTables(const QString& path, const QString& folder);
// A new file from a folder of CSV files. Never overwrites a file; the log files left beside PATH go first.
int importTables(const QString& folder, const QString& path);
// The sales ledger of the period, as CSV into the file, or on the standard output. Only reads. An existing
// file is replaced only with force.
int printJournal(const QString& path, const QDate& from, const QDate& to, const QString& csvFile, bool force);

// Why a command must not write its output into `file`, or empty: never over a database or its log, and over
// another existing file only with force.
QString outputRefusal(const QString& file, bool force);

} // namespace pylon::dbtool
