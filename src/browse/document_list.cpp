#include "browse/document_list.h"

#include "browse/form2.h"
#include "browse/list_window.h"
#include "editor/session.h"
#include "lists/listed_documents.h"
#include "widgets/messages.h"

namespace pylon {

namespace {

// Which headers the list holds for the kind: the credit notes by their flag, every other kind by its
// stored type alone (an invoice that carries a credit note is still an invoice).
DocumentChoice choiceOf(DocKind kind) {
    if (kind == DocKind::CreditNote) return {DocumentChoice::By::CreditNote, {}};
    return {DocumentChoice::By::Type, kindInfo(kind).stored};
}

// What the type column says, the same on every row of the list.
QString typeText(DocKind kind) {
    if (kind == DocKind::CreditNote) return QStringLiteral("AVOIR");
    if (kind == DocKind::MonthEnd) return QStringLiteral("Facture du mois");
    return kindInfo(kind).stored;
}

} // namespace

void showDocumentList(Session& m) {
    if (sayWhileIndexesAreMade(m)) return;
    Form2& w = listWindow(m);
    w.ui.List4->show();
    w.ui.Label4->show();
    // Every kind goes under the same caption: it is what a double-click goes by, and only the type column
    // tells the kinds apart.
    setListMode(m, w, ListMode::Documents);
    setHeadings(w, QStringLiteral("Numéro:"), QStringLiteral("Date:"), QStringLiteral("Client N°:"));
    const DocKind kind = m.currentKind();
    fillDocumentColumns(m, w, choiceOf(kind), typeText(kind), 4);
    showListWindow(m);
}

void Command7_Click(Session& m) {
    showDocumentList(m);
}

} // namespace pylon
