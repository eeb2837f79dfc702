#include "domain/kinds.h"

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

QString creditView() {
    return QStringLiteral(
        "Select Facture.*,AVOIR.NB,AVOIR.Qt,AVOIR.Design,AVOIR.PU,AVOIR.Mnt,CliEC.ClientC From "
        "CliEC INNER JOIN (Facture INNER JOIN AVOIR on Facture.NumFact = AVOIR.NumFact) on "
        "CliEC.NumCli = Facture.NumCli WHERE Facture.Avoir = True ORDER BY Facture.NumFact ASC");
}

// The header labels of every kind but the purchase order's, which names suppliers.
KindCaptions captions(const char* title, const char* command7, const char* label7, const char* label1) {
    return {QString::fromUtf8(title),       QString::fromUtf8(command7),
            QStringLiteral("Clients"),      QString::fromUtf8(label7),
            QString::fromUtf8(label1),      QStringLiteral("Numéro Client :"),
            QStringLiteral("Nom Client :"), QStringLiteral("Adresse Client :")};
}

const std::array<KindInfo, 6>& table() {
    static const std::array<KindInfo, 6> kinds = {{
        {DocKind::Invoice,
         QStringLiteral("Facture"),
         lineView(QStringLiteral("Facture")),
         QStringLiteral("DetFact"),
         QStringLiteral("Facture"),
         captions("      Pylon Beta    -   Gestionnaire de la facture", "Factures",
                  "Numéro Facture :", "Date Facture :"),
         {QStringLiteral("FACTURE"), QStringLiteral("de la facture"), QStringLiteral("Facture")}},
        {DocKind::Quote,
         QStringLiteral("Devis"),
         lineView(QStringLiteral("Devis")),
         QStringLiteral("DetFact"),
         QStringLiteral("Devis"),
         captions("      Pylon Beta    -   Gestionnaire du devis", "Devis",
                  "    Numéro Devis :", "    Date Devis :"),
         {QStringLiteral("DEVIS"), QStringLiteral("du devis"), QStringLiteral("Devis")}},
        {DocKind::Order,
         QStringLiteral("BC"),
         lineView(QStringLiteral("BC")),
         QStringLiteral("DetFact"),
         QStringLiteral("Bon de commande"),
         {QStringLiteral("      Pylon Beta    -   Gestionnaire du bon de commande"), QStringLiteral("Bons C"),
          QStringLiteral("Frs."), QStringLiteral("        Numéro B.C. :"),
          QStringLiteral("        Date B.C. :"), QStringLiteral("      Numéro Frs :"),
          QStringLiteral("      Nom Frs :"), QStringLiteral("      Adresse Frs :")},
         {QStringLiteral("BON DE COMMANDE"), QStringLiteral("du bon de commande"), QStringLiteral("BC")}},
        {DocKind::Delivery,
         QStringLiteral("BL"),
         lineView(QStringLiteral("BL")),
         QStringLiteral("DetFact"),
         QStringLiteral("Bon de livraison"),
         captions("      Pylon Beta    -   Gestionnaire du bon de livraison", "Bons L",
                  "        Numéro B.L. :", "        Date B.L. :"),
         {QStringLiteral("BON DE LIVRAISON"), QStringLiteral("du bon de livraison"), QStringLiteral("BL")}},
        // Ordered by number like the others, so that stepping through credit notes goes in number order.
        {DocKind::CreditNote,
         QString(),
         creditView(),
         QStringLiteral("AVOIR"),
         QStringLiteral("Avoir"),
         captions("      Pylon Beta    -   Gestionnaire de l' AVOIR", "Avoirs",
                  "     Avoir Facture :", "Date Facture :"),
         {QStringLiteral("AVOIR"), QStringLiteral("de l'avoir"), QStringLiteral("Avoir")}},
        {DocKind::MonthEnd,
         QStringLiteral("Facture M"),
         lineView(QStringLiteral("Facture M")),
         QStringLiteral("DetFact"),
         QStringLiteral("Facture du mois"),
         captions("      Pylon Beta    -   Gestionnaire des factures du mois", "Factures M",
                  "Numéro Facture :", "Date Facture :"),
         {QStringLiteral("FACTURE DU MOIS"), QStringLiteral("de la facture du mois"),
          QStringLiteral("Facture M")}},
    }};
    return kinds;
}

} // namespace

const KindInfo& kindInfo(DocKind kind) {
    return table()[size_t(int(kind) - 1)];
}

} // namespace pylon
