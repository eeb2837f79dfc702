#include "find/find_menu.h"

#include "commands/document_from.h"
#include "editor/form1.h"
#include "editor/session.h"
#include "find/dashboard.h"
#include "find/search_window.h"

#include <QAction>
#include <QEvent>
#include <QMenu>

namespace pylon {

namespace {

// The action follows "&Annuler", which is enabled exactly during an entry.
class OutsideEntries : public QObject {
  public:
    OutsideEntries(Session& m, QAction* action) : QObject(action), m_(m), action_(action) {
        m.form1->ui.Command10->installEventFilter(this);
        action_->setEnabled(!m_.editMode());
    }

  protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::EnabledChange) action_->setEnabled(!m_.editMode());
        return false;
    }

  private:
    Session& m_;
    QAction* action_;
};

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
    new OutsideEntries(m, after);
    add("actionDashboard", QStringLiteral("Tableau de bord…"), QKeySequence(Qt::CTRL | Qt::Key_T),
        showDashboard);
}

} // namespace pylon
