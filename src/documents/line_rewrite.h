#pragma once
// Replacing all the lines of a stored document at once, as the line edit dialog does when a stored
// document (not one being entered) has one of its lines changed.
#include "store/write.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace pylon {

class Database;

// The five cells of a line, in the order of the columns: N.B., QTE, Designation, P.U. H.T, Montant H.T.
using LineCells = QStringList;

// Deletes the lines of document `number` in `table` ("DetFact" or "AVOIR") and writes `lines` in their
// place, in that order, as one transaction: either every line is replaced or the file keeps the lines it
// had. Cells are written as they are, an empty one as an empty text (the save of a new document writes a
// single space instead; both read back as a blank cell). Nothing is written when no document has that
// number any more.
// Refused when the document is gone or the table is not a line table; Failed with what happened to the
// file and what to do (db_errors.h), or SQLite's message when the file itself is not at fault.
WriteResult rewriteLines(Database& db, const QString& table, qint64 number,
                         const std::vector<LineCells>& lines);

} // namespace pylon
