#include "lists/document_counts.h"

#include "lists/listed_parties.h"
#include "store/database.h"
#include "store/recordset.h"

namespace pylon {

namespace {

QString kindQuery(const char* condition) {
    return QStringLiteral("Select Facture.* From Facture WHERE Facture.") + QString::fromUtf8(condition) +
           QStringLiteral(" ORDER BY Facture.NumFact ASC");
}

// The full row count of a query opened for this count only.
std::optional<long> rowsOf(Database& db, const QString& query) {
    if (!db.isOpen()) return std::nullopt;
    const auto rs = RecordSet::open(db, query);
    if (!rs) return std::nullopt;
    return rs->RecordCount();
}

} // namespace

DocumentCounts countDocuments(Database& db) {
    DocumentCounts c;
    c.invoices = rowsOf(db, kindQuery("TypeFact = 'Facture'"));
    c.quotes = rowsOf(db, kindQuery("TypeFact = 'Devis'"));
    c.orders = rowsOf(db, kindQuery("TypeFact = 'BC'"));
    c.deliveries = rowsOf(db, kindQuery("TypeFact = 'BL'"));
    c.creditNotes = rowsOf(db, kindQuery("Avoir = True"));
    c.monthEnd = rowsOf(db, kindQuery("TypeFact = 'Facture M'"));
    c.suppliers = rowsOf(db, QStringLiteral("Select * From CliEC WHERE Frs = True ORDER BY NumCli ASC"));
    // Clients are counted from the documents: once for each number, name and address written together,
    // the rows of the client list, counted through the index on those fields rather than over every header.
    if (db.isOpen()) c.clients = countParties(db, false);
    return c;
}

long long documentRowsAtMost(Database& db) {
    return db.isOpen() ? db.scalar(QStringLiteral("SELECT max(rowid) FROM Facture")).toLongLong() : 0;
}

} // namespace pylon
