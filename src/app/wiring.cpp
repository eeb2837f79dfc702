#include "app/wiring.h"

#include "app/startup.h"
#include "browse/attach_list.h"
#include "browse/list_window.h"
#include "browse/navigation.h"
#include "commands/cancelling.h"
#include "commands/deletion.h"
#include "commands/dropped_entries.h"
#include "commands/month_end.h"
#include "commands/office.h"
#include "commands/statistics.h"
#include "editing/edit_mode.h"
#include "editing/line_deletion.h"
#include "editing/line_dialog.h"
#include "editing/line_entry.h"
#include "editing/new_document.h"
#include "editing/saving.h"
#include "editor/form1.h"
#include "editor/menu.h"
#include "editor/session.h"
#include "find/find_menu.h"
#include "output/backup_menu.h"
#include "output/print_menu.h"

namespace pylon {

void wireEditor(Session& m) {
    m.form1->activated = [&m] { Form1_Activate(m); };
    m.form1->unloading = [&m] { Form1_Unload(m); };
    m.abandonEntry = [&m] { abandonEntry(m); };
    m.showAttachList = [&m] { showAttachList(m); };
    wireNavigation(m);
    wireMenu(m);
    wireListWindow(m);
    wireLineEntry(m);
    wireNewDocument(m);
    wireSaving(m);
    wireLineDialog(m);
    wireLineDeletion(m);
    wireMonthEnd(m);
    wireDeletion(m);
    wireCancelling(m);
    wireStatistics(m);
    wireOffice(m);
    wirePrintMenu(m);
    wireBackupEntries(m);
    wireFindMenu(m);
    wireDroppedEntries(m);
}

} // namespace pylon
