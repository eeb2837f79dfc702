#include "operations/kind_names.h"

namespace pylon {

QString kindName(DocKind kind) {
    switch (kind) {
    case DocKind::Invoice:
        return QStringLiteral("Facture");
    case DocKind::Quote:
        return QStringLiteral("Devis");
    case DocKind::Order:
        return QStringLiteral("Bon de commande");
    case DocKind::Delivery:
        return QStringLiteral("Bon de livraison");
    case DocKind::CreditNote:
        return QStringLiteral("Avoir");
    case DocKind::MonthEnd:
        return QStringLiteral("Facture du mois");
    }
    return QString();
}

} // namespace pylon
