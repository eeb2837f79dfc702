#include "output/backup_menu.h"

#include "editor/form1.h"
#include "editor/session.h"
#include "output/sales_journal.h"
#include "safety/daily_backup.h"

#include <QMenu>

namespace pylon {

void addBackupEntries(QMenu& menu, Session& m) {
    Session* mp = &m;
    // Both only read the file: they are offered during an entry too, which they leave as it is.
    QAction* now = menu.addAction(QStringLiteral("Sauvegarder maintenant"));
    now->setObjectName(QStringLiteral("actionBackupNow"));
    QObject::connect(now, &QAction::triggered, &menu, [mp] { backupNow(*mp); });
    QAction* journal = menu.addAction(QStringLiteral("Journal des ventes…"));
    journal->setObjectName(QStringLiteral("actionSalesJournal"));
    QObject::connect(journal, &QAction::triggered, &menu, [mp] { showSalesJournal(*mp); });
}

void wireBackupEntries(Session& m) {
    if (auto* menu = m.form1->findChild<QMenu*>(QStringLiteral("printMenu"))) {
        menu->addSeparator();
        addBackupEntries(*menu, m);
    }
}

} // namespace pylon
