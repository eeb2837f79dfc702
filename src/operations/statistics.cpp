#include "operations/statistics.h"

#include "editor/form1.h"
#include "editor/messages.h"
#include "editor/session.h"
#include "store/listed_parties.h"

namespace pylon {

namespace {

QString kindQuery(const char* condition) {
    return QStringLiteral("Select Facture.* From Facture WHERE Facture.") + QString::fromUtf8(condition) +
           QStringLiteral(" ORDER BY Facture.NumFact ASC");
}

// The full row count of a query opened for this count only.
std::optional<long> rowsOf(Session& m, const QString& query) {
    if (!m.db.isOpen()) return std::nullopt;
    const auto rs = RecordSet::open(m.db, query);
    if (!rs) return std::nullopt;
    return rs->RecordCount();
}

// A count that could not be taken shows as a question mark: a zero would claim the file holds none.
QString shown(const std::optional<long>& n) {
    return n ? QString::number(*n) : QStringLiteral("?");
}

} // namespace

DocumentCounts countDocuments(Session& m) {
    DocumentCounts c;
    c.invoices = rowsOf(m, kindQuery("TypeFact = 'Facture'"));
    c.quotes = rowsOf(m, kindQuery("TypeFact = 'Devis'"));
    c.orders = rowsOf(m, kindQuery("TypeFact = 'BC'"));
    c.deliveries = rowsOf(m, kindQuery("TypeFact = 'BL'"));
    c.creditNotes = rowsOf(m, kindQuery("Avoir = True"));
    c.monthEnd = rowsOf(m, kindQuery("TypeFact = 'Facture M'"));
    c.suppliers = rowsOf(m, QStringLiteral("Select * From CliEC WHERE Frs = True ORDER BY NumCli ASC"));
    // Clients are counted from the documents: once for each number, name and address written together,
    // the rows of the client list, counted through the index on those fields rather than over every header.
    if (m.rsClients) c.clients = countParties(m.db, false);
    return c;
}

QString statisticsText(const DocumentCounts& c) {
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("La base de données contient :") + crlf + crlf + shown(c.invoices) +
           QStringLiteral("  Factures.") + crlf + shown(c.quotes) + QStringLiteral("  Devis.") + crlf +
           shown(c.orders) + QStringLiteral("  Bons de commande.") + crlf + shown(c.deliveries) +
           QStringLiteral("  Bons de livraison.") + crlf + shown(c.creditNotes) +
           QStringLiteral("  Avoirs.") + crlf + shown(c.monthEnd) + QStringLiteral("  Facture du mois.") +
           crlf + shown(c.clients) + QStringLiteral("  Clients.") + crlf + shown(c.suppliers) +
           QStringLiteral("  Fournisseurs.");
}

void Command11_Click(Session& m) {
    if (sayWhileIndexesAreMade(m)) return;
    MsgBox(m.form1, statisticsText(countDocuments(m)), MsgStyle::Ok, QStringLiteral("Statistiques"));
}

void wireStatistics(Session& m) {
    Session* mp = &m;
    QObject::connect(m.form1->ui.Command11, &QPushButton::clicked, m.form1, [mp] { Command11_Click(*mp); });
}

} // namespace pylon
