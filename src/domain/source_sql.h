#pragma once
// Turns what a record set is opened on — a table name or one of the program's SELECT statements, written
// the way the rest of the program writes them — into SQLite text the record set can walk row by row.
#include <QString>
#include <optional>

namespace pylon {

struct SourceSql {
    // A SELECT whose last columns are the ordering keys: first orderKeys values of the ORDER BY, then
    // rowKeys row ids. Keys identify every row and give the rows their order.
    QString select;
    int orderKeys = 0;
    int rowKeys = 0;
    // Set when the source is a plain table: rows can then be added, changed and deleted.
    QString table;
    // Set for DISTINCT selects, whose rows have no row id: the record set keeps a copy of them in a
    // temporary table and walks that. Holds the statement to copy.
    QString snapshot;
};

// Rewrites the boolean literals: "X = True" becomes a test that also reads a missing value as false.
QString translateBooleans(const QString& sql);

std::optional<SourceSql> translateSource(const QString& source);

} // namespace pylon
