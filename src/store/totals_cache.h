#pragma once
// Each document's totals kept beside it in the file (table pylon_totals), so that a search by amount and
// the sales figures need not read every line of every document.
//
// Whatever program writes the file, the kept totals are never wrong: triggers in plain SQL, on the lines,
// the credit-note lines and the headers, throw away the row of every document they touch and note its
// number in pylon_totals_stale. The program computes those documents again (refresh) before it reads the
// totals, with the editor's own arithmetic; a file it cannot write keeps its notes, and the readers then
// compute the noted documents themselves.
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace pylon {

class Database;

namespace totals_cache {

// The kept columns: the document's date ('YYYY-MM-DD'), its client, whether it counts as a sale (an invoice
// or a month-end invoice not cancelled), its totals as the editor shows them (to the cent, in
// ten-thousandths; NULL beyond the range of amounts), whether it carries a credit note, and the credit
// note's totals before and of tax (0 without one).
inline constexpr const char* kColumns =
    "NumFact, DateFact, NumCli, Sales, HT, TVA, TTC, Credit, CreditHT, CreditTVA";

// Makes and fills the kept totals in a file lacking them, or lacking any of their triggers, in one
// transaction; in a file whose triggers are of an earlier version, makes the triggers alone again. False
// when the file cannot take them now (read-only, busy): it goes without (or keeps the earlier triggers),
// and the readers compute every document.
bool ensure(Database& db);
// Whether the file keeps totals (the table, its note of stale documents and every trigger).
bool present(Database& db);
// How many noted documents the window's own thread computes before it reads the kept totals; more are left
// to the preparation (preparation.h), and the readers say the figures are not ready.
inline constexpr qint64 kComputedOnTheSpot = 2000;
// Computes the documents noted since the last refresh, when they are few (kComputedOnTheSpot at most).
// False when there are notes it could not clear or left for the preparation.
bool refresh(Database& db);
// The noted documents, counted up to `upTo`; -1 when the file cannot be read.
qint64 staleCount(Database& db, qint64 upTo);
// Makes the kept totals' tables, triggers and indexes with every document noted, in one transaction, for
// the documents to be computed a batch at a time. False when the file cannot take them now.
bool noteEveryDocument(Database& db);
// Computes the first `documents` noted documents in one transaction and clears their notes. The number
// of documents done (0 when none were noted), or -1 when the file could not be written.
qint64 refreshBatch(Database& db, int documents);
// Whether documents are noted and not computed again.
bool hasStale(Database& db);

// A SELECT giving kColumns computed from the documents and their lines: of every document with a whole
// number, or only of those noted in pylon_totals_stale.
QString computedRows(bool staleOnly);
// The same for the documents whose numbers a SELECT gives; every document for an empty one.
QString computedRowsOf(const QString& numbers);

// Every way the kept totals disagree with the documents, one line each; empty for a file without them.
QStringList check(Database& db);

} // namespace totals_cache
} // namespace pylon
