#pragma once
// The business a database file holds, as text that two files holding the same business print alike, so
// that tests can compare whole files line by line and a person can read what a file holds.
#include <QString>
#include <cstdio>

namespace pylon {
class Database;
}

namespace pylon::dbtool {

// Writes Facture, DetFact, AVOIR and CliEC in that order, each as a header naming its columns followed by
// one line per row. Documents come by number, a document's lines in the order they were written, parties
// by number. A value is NULL, a whole number (12), a real number (12.0, 1.5e+20), a text in single quotes
// with \\ \' \n \r \t and \xHH for the other control characters, or a blob X'hex'. Only reads: one read
// transaction, so the four tables come from the same moment. False with *error set when a read fails; what
// was written by then is incomplete.
bool writeDump(Database& db, std::FILE* out, QString* error);

} // namespace pylon::dbtool
