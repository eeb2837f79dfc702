#pragma once
// What was sold: the last twelve months and the best clients of the year. A sale is an invoice or a
// month-end invoice that is not cancelled; a credit note attached to one is deducted from it. Each document
// counts for its totals as the editor shows them, to the cent, so that the figures are the sums of what
// the editor shows. Only reads (after bringing the kept totals up to date, when the file can be written).
#include "domain/amount_text.h"

#include <QDate>
#include <QString>
#include <QVariant>
#include <optional>
#include <vector>

namespace pylon {

class Database;

struct MonthSales {
    int year = 0, month = 0;
    int documents = 0;   // sales of the month
    int creditNotes = 0; // credit notes deducted from them
    int unreadable = 0;  // totals of documents or of credit notes beyond the range of amounts, left out
    Amount ht, tva;      // sales before tax, and their tax
    Amount creditHt, creditTva; // what the credit notes take off
    Amount netHt() const { return Amount(ht.tenThousandths() - creditHt.tenThousandths()); }
    Amount netTva() const { return Amount(tva.tenThousandths() - creditTva.tenThousandths()); }
};

struct ClientSales {
    QVariant client;
    QString name; // as written on the client's last sale of the year
    Amount netHt;
    int documents = 0;
};

struct SalesSummary {
    // The kept totals are still being computed (preparation.h): no figure is given rather than a wrong one.
    bool preparing = false;
    std::vector<MonthSales> months; // twelve, the last one the month of `today`, oldest first
    std::vector<ClientSales>
        bestClients; // at most ten, who bought most before tax since the first of the year
};

// nullopt when the file cannot be read (its failure is then the database's).
std::optional<SalesSummary> salesSummary(Database& db, const QDate& today);
// salesSummary in two halves, for figures read on a thread. The first, on the program's connection, brings
// the few stale totals up to date and answers `preparing` while many are still to be computed; nullopt when
// the figures are to be read. The second reads them, through any connection to the file, a read-only one
// of its own included.
std::optional<SalesSummary> salesSummaryBefore(Database& db);
std::optional<SalesSummary> readSalesSummary(Database& db, const QDate& today);

} // namespace pylon
