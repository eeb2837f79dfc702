#pragma once
// What pylon-db does once its arguments are understood. Each command prints its own messages and returns
// the exit code: 0 done, 1 failed (with a one-line reason on stderr).
#include "demo_data.h"

#include <QString>

namespace pylon {
class Database;
}

namespace pylon::dbtool {

// An empty database: the four tables, our indexes and trigger. Never overwrites a file.
int initDatabase(const QString& path);
// A new database filled with the demo business. Never overwrites a file.
int makeDemo(const QString& path, const demo::DemoOptions& options);
// Prints each breach of the file's invariants, or "ok". Reads the file (and its log) without writing.
int checkDatabase(const QString& path);
// Prints the business the file holds as canonical text (dump_text.h). Reads the file and its log without
// writing.
int dumpDatabase(const QString& path);

// Opens a file for reading only: neither the journal mode is switched nor the log copied into the file
// (the saves waiting in it are read all the same). Empty when the file is open, else why not.
QString openForReading(Database& db, const QString& path);
// The same, and the file must hold the four tables.
QString openOursForReading(Database& db, const QString& path);
// Prints the message as printError does and returns the exit code of a failure, 1.
int fail(const QString& message);

// "pylon-db: message" on stderr.
void printError(const QString& message);
// One line on stdout.
void printLine(const QString& line);

} // namespace pylon::dbtool
