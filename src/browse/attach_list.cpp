#include "browse/attach_list.h"

#include "browse/form2.h"
#include "browse/list_window.h"
#include "editor/session.h"
#include "lists/listed_documents.h"
#include "widgets/messages.h"

namespace pylon {

void showAttachList(Session& m) {
    if (sayWhileIndexesAreMade(m)) return;
    Form2& w = listWindow(m);
    setListMode(m, w, ListMode::Attach);
    setHeadings(w, QStringLiteral("Numéro:"), QStringLiteral("Date:"), QStringLiteral("Client N°:"));
    // Every stored document, of every kind. The type column keeps whatever the last list left in it.
    fillDocumentColumns(m, w, {}, QString(), 3);
    showListWindow(m);
}

} // namespace pylon
