#pragma once
// SQL functions of the program's own, registered on every connection it opens, so that SQL run over the
// file reads amounts, dates and flags exactly as the editor does. Only the program's statements use them:
// the triggers and indexes in the file use built-in SQL alone, so that any other program can write it.
//
//   pylon_ht(Mnt), pylon_tva(Mnt), pylon_ttc(Mnt)  aggregates: a document's totals from its line amounts,
//                                                    in ten-thousandths (NULL for a total beyond the range)
//   pylon_cents(x)   an amount in ten-thousandths rounded to the cent, as the screen shows it
//   pylon_date(x)    a stored date as 'YYYY-MM-DD', NULL when it is not a date
//   pylon_flag(x)    a stored flag as 0 or 1, a missing one as 0
struct sqlite3;

namespace pylon {

void registerSqlFunctions(sqlite3* db);

} // namespace pylon
