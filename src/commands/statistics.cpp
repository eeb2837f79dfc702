#include "commands/statistics.h"

#include "editor/form1.h"
#include "editor/session.h"
#include "lists/document_counts.h"
#include "widgets/messages.h"

namespace pylon {

namespace {

// A count that could not be taken shows as a question mark: a zero would claim the file holds none.
QString shown(const std::optional<long>& n) {
    return n ? QString::number(*n) : QStringLiteral("?");
}

} // namespace

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
    MsgBox(m.form1, statisticsText(countDocuments(m.db)), MsgStyle::Ok, QStringLiteral("Statistiques"));
}

void wireStatistics(Session& m) {
    Session* mp = &m;
    m.form1->onButton(EditorButton::Statistics, [mp] { Command11_Click(*mp); });
}

} // namespace pylon
