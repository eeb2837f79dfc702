#include "find/find_menu.h"

#include "commands/document_from.h"
#include "editor/form1.h"
#include "editor/session.h"
#include "find/dashboard.h"
#include "find/search_window.h"

#include <QAction>
#include <QMenu>

namespace pylon {

namespace {

// The action is enabled outside entries only, and follows each entry's beginning and end.
void enableOutsideEntries(Session& m, QAction* action) {
    const auto follow = [&m, action] { action->setEnabled(!m.editMode()); };
    m.form1->onEntryButtonsEnabledChange(action, follow);
    follow();
}

} // namespace

void wireFindMenu(Session& m) {
    Form1* form = m.form1;
    // The context menu the printing commands made; without one, the entries still answer their shortcuts.
    auto* menu = form->findChild<QMenu*>(QStringLiteral("printMenu"));
    if (menu) menu->addSeparator();
    Session* mp = &m;
    const auto add = [&](const char* name, const QString& text, const QKeySequence& key,
                         void (*run)(Session&)) {
        auto* a = new QAction(text, form);
        if (menu) menu->addAction(a);
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcut(key);
        // On the window too, so that the shortcut works while the menu is closed.
        form->addAction(a);
        QObject::connect(a, &QAction::triggered, form, [mp, run] { run(*mp); });
        return a;
    };
    add("actionSearch", QStringLiteral("Rechercher…"), QKeySequence(Qt::CTRL | Qt::Key_F), showSearchWindow);
    QAction* after = add("actionDocumentFrom", QStringLiteral("Nouveau document d'après celui-ci…"),
                         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N), beginDocumentFromShown);
    enableOutsideEntries(m, after);
    add("actionDashboard", QStringLiteral("Tableau de bord…"), QKeySequence(Qt::CTRL | Qt::Key_T),
        showDashboard);
}

} // namespace pylon
