#pragma once
// The kinds of document as the search window, the dashboard and the new-document question name them.
#include "store/kinds.h"

#include <QString>

namespace pylon {

// "Facture", "Devis", "Bon de commande", "Bon de livraison", "Avoir", "Facture du mois".
QString kindName(DocKind kind);

} // namespace pylon
