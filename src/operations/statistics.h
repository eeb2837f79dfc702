#pragma once
// "S&tatistiques": one message with how many documents of each kind, credit notes, clients and suppliers
// the file holds. It only reads.
#include <QString>
#include <optional>

namespace pylon {

struct Session;

// Each count is empty when it could not be taken (no database, a query the file refuses).
struct DocumentCounts {
    std::optional<long> invoices, quotes, orders, deliveries, creditNotes, monthEnd, suppliers, clients;
};

DocumentCounts countDocuments(Session& m);
// The ten lines of the message, separated by CR LF.
QString statisticsText(const DocumentCounts& counts);

void Command11_Click(Session& m);

void wireStatistics(Session& m);

} // namespace pylon
