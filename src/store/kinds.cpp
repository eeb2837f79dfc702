#include "store/kinds.h"

#include <array>

namespace pylon {

namespace {

QString lineView(const QString& typeFact) {
    return QStringLiteral(
               "Select Facture.*,DetFact.NB,DetFact.Qt,DetFact.Design,DetFact.PU,DetFact.Mnt,"
               "CliEC.ClientC From CliEC INNER JOIN (Facture INNER JOIN DetFact on Facture.NumFact = "
               "DetFact.NumFact) on CliEC.NumCli = Facture.NumCli WHERE Facture.TypeFact = '%1' "
               "ORDER BY Facture.NumFact ASC")
        .arg(typeFact);
}

const std::array<KindInfo, 6>& table() {
    static const std::array<KindInfo, 6> kinds = {{
        {DocKind::Invoice, QStringLiteral("Facture"), lineView(QStringLiteral("Facture")),
         QStringLiteral("DetFact")},
        {DocKind::Quote, QStringLiteral("Devis"), lineView(QStringLiteral("Devis")),
         QStringLiteral("DetFact")},
        {DocKind::Order, QStringLiteral("BC"), lineView(QStringLiteral("BC")), QStringLiteral("DetFact")},
        {DocKind::Delivery, QStringLiteral("BL"), lineView(QStringLiteral("BL")), QStringLiteral("DetFact")},
        // Ordered by number like the others, so that stepping through credit notes goes in number order.
        {DocKind::CreditNote, QString(),
         QStringLiteral(
             "Select Facture.*,AVOIR.NB,AVOIR.Qt,AVOIR.Design,AVOIR.PU,AVOIR.Mnt,CliEC.ClientC From "
             "CliEC INNER JOIN (Facture INNER JOIN AVOIR on Facture.NumFact = AVOIR.NumFact) on "
             "CliEC.NumCli = Facture.NumCli WHERE Facture.Avoir = True ORDER BY Facture.NumFact ASC"),
         QStringLiteral("AVOIR")},
        {DocKind::MonthEnd, QStringLiteral("Facture M"), lineView(QStringLiteral("Facture M")),
         QStringLiteral("DetFact")},
    }};
    return kinds;
}

} // namespace

const KindInfo& kindInfo(DocKind kind) {
    return table()[size_t(int(kind) - 1)];
}

} // namespace pylon
