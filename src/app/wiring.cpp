#include "app/wiring.h"

#include "browse/list_window.h"
#include "browse/navigation.h"
#include "editing/line_dialog.h"
#include "editing/line_entry.h"
#include "editing/new_document.h"
#include "editing/saving.h"
#include "editor/menu.h"
#include "operations/cancelling.h"
#include "operations/deletion.h"
#include "operations/month_end.h"
#include "operations/office.h"
#include "operations/statistics.h"

namespace pylon {

void wireEditor(Module1& m) {
    wireNavigation(m);
    wireMenu(m);
    wireListWindow(m);
    wireLineEntry(m);
    wireNewDocument(m);
    wireSaving(m);
    wireLineDialog(m);
    wireMonthEnd(m);
    wireDeletion(m);
    wireCancelling(m);
    wireStatistics(m);
    wireOffice(m);
}

} // namespace pylon
