#pragma once
// The database file: its four tables, the kind values stored in Facture.TypeFact, and what we add
// to any file we open (indexes for the searches we make, the trigger that deletes lines with their document).
#include <QString>
#include <QStringList>

namespace pylon {

class Database;

namespace schema {

inline constexpr const char* kFileName = "VelD";

// The stored kind values.
inline const QString kInvoice = QStringLiteral("Facture");
inline const QString kQuote = QStringLiteral("Devis");
inline const QString kOrder = QStringLiteral("BC");
inline const QString kDelivery = QStringLiteral("BL");
inline const QString kMonthEnd = QStringLiteral("Facture M");

enum class FieldType { Integer, Date, Boolean, Text };

// The type of a field of the four tables, by its name (case-insensitive); Text for anything else.
FieldType fieldType(const QString& field);

// The statements that create the four tables of an empty database.
QString createTablesSql();

// Creates the four tables and our additions in a database that has none.
bool createTables(Database& db);

// Adds whatever of our indexes and triggers the file lacks; leaves the data alone.
// False when the file lacks one of the four tables (it is then not one of ours).
bool ensureAdditions(Database& db);

// The statements that would make the indexes and triggers the file lacks, in the order a file being prepared
// needs them, each to be run on its own; empty when it has them all.
QStringList missingAdditions(Database& db);

// True when the file has the indexes the editor's views are read through (lines by document, documents by
// kind and by number, credit-note lines, clients): without them, each read of a view makes SQLite index the
// lines first. False also when that cannot be read.
bool hasViewIndexes(Database& db);

// True when the four tables are there.
bool hasTables(Database& db);

// Whether the file is in write-ahead-log mode; false also when that cannot be read.
bool inLogMode(Database& db);
// Puts the file in write-ahead-log mode; true once it is. The switch needs the file to itself for a moment
// and SQLite does not wait for it: false while another connection reads or writes.
bool switchToLogMode(Database& db);

// True when the file has all our indexes and triggers and is in WAL mode: the program has opened it
// before, and opening it again writes nothing to it.
bool hasAdditions(Database& db);

// Every breach of the file's invariants and SQLite's integrity check, one line each; empty when sound.
QStringList check(Database& db);

} // namespace schema
} // namespace pylon
