#include "editor/menu.h"

#include "editor/form1.h"
#include "editor/form4.h"
#include "editor/kind_captions.h"
#include "editor/session.h"
#include "editor/show_document.h"
#include "widgets/messages.h"
#include "widgets/window_keys.h"

#include <QButtonGroup>

namespace pylon {

namespace {

// Out of the way until "&Menu" again; the user goes on in the editor, as the menu was opened from it.
void putMenuAway(Session& m) {
    menuWindow(m).hide();
    if (m.form1) m.form1->activateWindow();
}

} // namespace

Form4& menuWindow(Session& m) {
    if (auto* menu = qobject_cast<Form4*>(m.form4.get())) return *menu;
    auto* menu = new Form4(m);
    m.form4.reset(menu);
    // The window opens with the kind the editor works on (the invoice at start).
    if (QAbstractButton* current = menu->ui.Options->button(static_cast<int>(m.kind)))
        current->setChecked(true);
    QObject::connect(menu->ui.Command1, &QPushButton::clicked, menu, [&m] { MenuLancer_Click(m); });
    QObject::connect(menu->ui.Command2, &QPushButton::clicked, menu, [&m] { MenuAnnuler_Click(m); });
    onEnter(*menu, [&m] { MenuLancer_Click(m); });
    closeOnEscape(*menu);
    // Beside the editor, so that both stay visible: the editor is usable while the menu is open.
    if (m.form1) menu->move(m.form1->frameGeometry().topRight() + QPoint(8, 0));
    return *menu;
}

void showMenuWindow(Session& m) {
    Form4& menu = menuWindow(m);
    menu.show();
    menu.raise();
    menu.activateWindow();
}

void Command15_Click(Session& m) {
    showMenuWindow(m);
}

void Form4_Activate(Session& m) {
    Form4& menu = menuWindow(m);
    if (const int selected = menu.ui.Options->checkedId(); selected > 0) menu.MenuKind = selected;
}

bool launchKind(Session& m, DocKind kind) {
    Form4& menu = menuWindow(m);
    // The kind and its view change together or not at all: the old view under the new kind would show
    // documents of one kind while the commands act as another.
    auto view = RecordSet::open(m.db, kindInfo(kind).viewSql);
    if (!view) {
        if (QAbstractButton* applied = menu.ui.Options->button(static_cast<int>(m.currentKind())))
            applied->setChecked(true);
        putMenuAway(m);
        const QString reason =
            m.db.isOpen() ? m.db.failureText() : QStringLiteral("la base de données n'est pas ouverte.");
        MsgBox(m.form1,
               QStringLiteral("Ces documents n'ont pas pu être lus, l'éditeur reste sur les précédents : ") +
                   reason,
               MsgStyle::Ok, QStringLiteral("Attention"));
        return false;
    }
    // The menu shows the kind applied, whoever launched it.
    if (QAbstractButton* option = menu.ui.Options->button(static_cast<int>(kind))) option->setChecked(true);
    m.kind = kind;
    // A view waiting for its indexes is opened once they are made, on the kind launched last.
    if (!m.viewWaits) m.rsDoc = std::move(view);
    applyKindCaptions(kind, *m.form1);
    ShowCurrentDocument(m);
    putMenuAway(m);
    m.endEntryAfterRedisplay();
    return true;
}

void launchSelectedKind(Session& m) {
    // The only place the current kind changes, and only when launched: a selection left unlaunched would
    // otherwise make a save, a deletion or a line change act as another kind than the editor shows.
    const int selected = menuWindow(m).ui.Options->checkedId();
    launchKind(m, selected >= 1 && selected <= 6 ? static_cast<DocKind>(selected) : m.currentKind());
}

void MenuLancer_Click(Session& m) {
    launchSelectedKind(m);
}

void closeMenu(Session& m) {
    Form4& menu = menuWindow(m);
    if (QAbstractButton* previous = menu.ui.Options->button(menu.MenuKind)) previous->setChecked(true);
    putMenuAway(m);
}

void MenuAnnuler_Click(Session& m) {
    closeMenu(m);
}

void wireMenu(Session& m) {
    m.form1->onButton(EditorButton::Menu, [&m] { Command15_Click(m); });
}

} // namespace pylon
