#pragma once
// The four tables as CSV files, one per table, for the accountant's spreadsheet and for moving a business
// to another tool and back. Each file starts with the names of the columns; each value is written so that
// reading the files back gives the same file: a text between quotes, byte for byte as stored (a cell's
// comma and two decimals, a single space, an address's line breaks); a missing value as nothing; a whole
// or real number, or a blob as X'hex', without quotes. Lines come in the order they were written, which
// is the order they are shown in.
#include <QString>

namespace pylon {

class Database;

namespace table_csv {

// "Facture.csv", "DetFact.csv", "AVOIR.csv", "CliEC.csv" in the folder (made when missing). The four come
// from one read transaction and replace earlier files of the same names as one set: a failure leaves the
// four earlier ones.
bool exportTables(Database& db, const QString& folder, QString* error);

// A new database file at `path` (which must not exist) holding the four files' rows, with all the program's
// additions, in the log mode the program uses. Made under a temporary name and put in place once complete
// (snapshot::putInPlace: log files left beside `path` go first): a failure leaves no file. A byte-order
// mark at the start of a file is skipped. An unquoted value that is no number, blob or empty field is taken
// as a text, so that files saved again by a spreadsheet are read too.
bool importTables(const QString& folder, const QString& path, QString* error);

} // namespace table_csv
} // namespace pylon
