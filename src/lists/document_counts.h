#pragma once
// How many documents of each kind, credit notes, clients and suppliers the file holds, as "S&tatistiques"
// says. Only reads.
#include <optional>

namespace pylon {

class Database;

// Each count is empty when it could not be taken (no database, a query the file refuses).
struct DocumentCounts {
    std::optional<long> invoices, quotes, orders, deliveries, creditNotes, monthEnd, suppliers, clients;
};

DocumentCounts countDocuments(Database& db);

// The highest row id of the headers: never fewer than the documents the file holds, and read in a moment,
// where counting them would read them all. 0 when it cannot be read.
long long documentRowsAtMost(Database& db);

} // namespace pylon
