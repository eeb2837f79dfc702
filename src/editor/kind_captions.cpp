#include "editor/kind_captions.h"

#include "ui_Form1.h"

#include <array>

namespace pylon {

namespace {

// The leading spaces are part of the labels: the labels are left-aligned at the same place, so the spaces
// push the shorter texts towards their fields.
const std::array<KindCaptions, 6>& table() {
    static const std::array<KindCaptions, 6> captions = {{
        {QStringLiteral("      Pylon Beta    -   Gestionnaire de la facture"), QStringLiteral("Factures"),
         QStringLiteral("Clients"), QStringLiteral("Numéro Facture :"), QStringLiteral("Date Facture :"),
         QStringLiteral("Numéro Client :"), QStringLiteral("Nom Client :"),
         QStringLiteral("Adresse Client :")},
        {QStringLiteral("      Pylon Beta    -   Gestionnaire du devis"), QStringLiteral("Devis"),
         QStringLiteral("Clients"), QStringLiteral("    Numéro Devis :"), QStringLiteral("    Date Devis :"),
         QStringLiteral("Numéro Client :"), QStringLiteral("Nom Client :"),
         QStringLiteral("Adresse Client :")},
        {QStringLiteral("      Pylon Beta    -   Gestionnaire du bon de commande"), QStringLiteral("Bons C"),
         QStringLiteral("Frs."), QStringLiteral("        Numéro B.C. :"),
         QStringLiteral("        Date B.C. :"), QStringLiteral("      Numéro Frs :"),
         QStringLiteral("      Nom Frs :"), QStringLiteral("      Adresse Frs :")},
        {QStringLiteral("      Pylon Beta    -   Gestionnaire du bon de livraison"), QStringLiteral("Bons L"),
         QStringLiteral("Clients"), QStringLiteral("        Numéro B.L. :"),
         QStringLiteral("        Date B.L. :"), QStringLiteral("Numéro Client :"),
         QStringLiteral("Nom Client :"), QStringLiteral("Adresse Client :")},
        {QStringLiteral("      Pylon Beta    -   Gestionnaire de l' AVOIR"), QStringLiteral("Avoirs"),
         QStringLiteral("Clients"), QStringLiteral("     Avoir Facture :"), QStringLiteral("Date Facture :"),
         QStringLiteral("Numéro Client :"), QStringLiteral("Nom Client :"),
         QStringLiteral("Adresse Client :")},
        {QStringLiteral("      Pylon Beta    -   Gestionnaire des factures du mois"),
         QStringLiteral("Factures M"), QStringLiteral("Clients"), QStringLiteral("Numéro Facture :"),
         QStringLiteral("Date Facture :"), QStringLiteral("Numéro Client :"), QStringLiteral("Nom Client :"),
         QStringLiteral("Adresse Client :")},
    }};
    return captions;
}

} // namespace

const KindCaptions& kindCaptions(DocKind kind) {
    return table()[static_cast<std::size_t>(kind) - 1];
}

void applyKindCaptions(DocKind kind, QWidget& editor, Ui::Form1& ui) {
    const KindCaptions& c = kindCaptions(kind);
    editor.setWindowTitle(c.title);
    ui.Command7->setText(c.command7);
    ui.Command9->setText(c.command9);
    ui.Label7->setText(c.label7);
    ui.Label1->setText(c.label1);
    ui.Label2->setText(c.label2);
    ui.Label3->setText(c.label3);
    ui.Label4->setText(c.label4);
}

} // namespace pylon
