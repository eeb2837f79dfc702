#include "browse/attach_list.h"

#include "browse/form2.h"
#include "browse/list_window.h"
#include "editor/session.h"

namespace pylon {

void showAttachList(Session& m) {
    Form2& w = listWindow(m);
    // The type column keeps whatever the last list left in it.
    for (QListWidget* l : {w.ui.List1, w.ui.List2, w.ui.List3})
        l->clear();
    setListMode(m, w, ListMode::Attach);
    setHeadings(w, QStringLiteral("Numéro:"), QStringLiteral("Date:"), QStringLiteral("Client N°:"));
    QStringList columns[3];
    if (RecordSet* rs = m.rsNumeros.get()) {
        rs->MoveLast();
        rs->MoveFirst();
        const long count = rs->RecordCount();
        for (QStringList& c : columns)
            c.reserve(count);
        for (long i = 0; i < count; ++i) {
            for (int c = 0; c < 3; ++c)
                columns[c] << columnText(rs->Fields(c));
            rs->MoveNext();
        }
    }
    setColumn(w.ui.List1, columns[0]);
    setColumn(w.ui.List2, columns[1]);
    setColumn(w.ui.List3, columns[2]);
    showListWindow(m);
}

} // namespace pylon
