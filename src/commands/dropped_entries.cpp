#include "commands/dropped_entries.h"

#include "editing/attach.h"
#include "editing/line_entry.h"
#include "editing/new_document.h"
#include "editor/form1.h"
#include "editor/menu.h"
#include "editor/session.h"
#include "editor/show_document.h"
#include "module/entry_keeping.h"
#include "module/month_end_store.h"
#include "safety/entry_keeping.h"
#include "widgets/messages.h"

#include <QAction>
#include <QInputDialog>
#include <QMenu>

namespace pylon {

namespace {

const QString kTitle = QStringLiteral("Reprendre la saisie abandonnée");

bool refuseDuringAnEntry(Session& m) {
    if (!m.editMode()) return false;
    MsgBox(m.form1,
           QStringLiteral("Un document est en cours de saisie : enregistrez-le (« &Valider ») ou "
                          "abandonnez-le (« &Annuler ») d'abord."),
           MsgStyle::Ok, kTitle);
    return true;
}

// The number the entry had, when no document has taken it since: a document of any kind.
bool numberIsFree(Session& m, const QString& number) {
    bool whole = false;
    const int n = number.trimmed().toInt(&whole);
    return whole && n > 0 && month_end::findDocument(m.db, n) == Lookup::Absent;
}

void chooseAmong(Session& m, const EntryKeeper::Entries& entries) {
    QStringList items;
    for (const auto& e : entries)
        items << describeKeptEntry(e);
    QInputDialog dialog(m.form1);
    dialog.setWindowTitle(kTitle);
    dialog.setLabelText(QStringLiteral("Saisies abandonnées, la plus récente en premier :"));
    dialog.setOption(QInputDialog::UseListViewForComboBoxItems);
    dialog.setComboBoxItems(items);
    // The newest is chosen: Enter brings back the entry just dropped.
    dialog.setTextValue(items.first());
    dialog.setOkButtonText(QStringLiteral("Reprendre"));
    dialog.setCancelButtonText(QStringLiteral("Annuler"));
    dialog.resize(560, dialog.sizeHint().height());
    if (dialog.exec() != QDialog::Accepted) return;
    const qsizetype chosen = items.indexOf(dialog.textValue());
    // An entry may have been begun while the list was open (by a shortcut): it is not replaced.
    if (chosen >= 0 && !refuseDuringAnEntry(m)) bringBackEntry(m, entries[size_t(chosen)]);
}

void offerRead(Session& m, const std::optional<EntryKeeper::Entries>& entries) {
    if (!entries) {
        MsgBox(m.form1,
               QStringLiteral("Les saisies abandonnées n'ont pas pu être lues : la base de données est "
                              "occupée ou illisible. Réessayez dans un moment."),
               MsgStyle::Ok, kTitle);
        return;
    }
    if (entries->empty()) {
        MsgBox(m.form1, QStringLiteral("Aucune saisie abandonnée n'est conservée."), MsgStyle::Ok, kTitle);
        return;
    }
    chooseAmong(m, *entries);
}

// The lines as they were typed: the whole ones, then the first cells of the line under way.
void bringBackLines(Session& m, const kept_entries::KeptEntry& e) {
    const int whole = int(e.columns[pointer::kMnt].size());
    std::vector<QStringList> lines;
    for (int row = 0; row < whole && row < pointer::kRows; ++row) {
        QStringList cells;
        for (const QStringList& column : e.columns)
            cells << column.value(row);
        lines.push_back(cells);
    }
    fillLines(m, lines);
    QStringList typed;
    for (int c = 0; c < pointer::kMnt && whole < e.columns[size_t(c)].size(); ++c)
        typed << e.columns[size_t(c)][whole];
    resumeLine(m, typed);
}

} // namespace

bool bringBackEntry(Session& m, const kept_entries::KeptEntry& e) {
    if (refuseDuringAnEntry(m)) return false;
    if (e.kind != m.currentKind() && !launchKind(m, e.kind)) return false;
    if (e.kind == DocKind::CreditNote) {
        AttachCreditNote(m, e.number);
        if (!m.editMode()) {
            MsgBox(
                m.form1,
                QStringLiteral("Le document n° %1, auquel l'avoir était attaché, n'est plus dans la base de "
                               "données : la saisie reste conservée.")
                    .arg(e.number),
                MsgStyle::Ok, kTitle);
            return false;
        }
    } else {
        beginNewDocument(m);
        if (numberIsFree(m, e.number)) setFieldText(m, EditorField::Number, e.number.trimmed());
        setFieldText(m, EditorField::Date, e.date);
        showClient(m, {e.client, e.name, e.address, e.onAccount});
        // The flag as it was kept is the user's: leaving the client field does not take it from the file.
        m.clientTakenFromFile = e.client.trimmed();
    }
    bringBackLines(m, e);
    entryContinues(m, e.id);
    return true;
}

void offerDroppedEntries(Session& m) {
    if (refuseDuringAnEntry(m)) return;
    if (!m.entryKeeper) {
        MsgBox(
            m.form1,
            QStringLiteral("La base de données ne peut pas être modifiée : aucune saisie n'y est conservée."),
            MsgStyle::Ok, kTitle);
        return;
    }
    Session* mp = &m;
    m.entryKeeper->readDropped([mp](const std::optional<EntryKeeper::Entries>& entries) {
        if (!mp->editMode()) offerRead(*mp, entries);
    });
}

void wireDroppedEntries(Session& m) {
    Form1* form = m.form1;
    auto* a = new QAction(QStringLiteral("Reprendre la saisie abandonnée…"), form);
    a->setObjectName(QStringLiteral("actionDroppedEntries"));
    // In the editor's right-click menu, at its end.
    if (auto* menu = form->findChild<QMenu*>(QStringLiteral("printMenu"))) {
        menu->addSeparator();
        menu->addAction(a);
    }
    Session* mp = &m;
    QObject::connect(a, &QAction::triggered, form, [mp] { offerDroppedEntries(*mp); });
    const auto follow = [mp, a] { a->setEnabled(!mp->editMode()); };
    form->onEntryButtonsEnabledChange(a, follow);
    follow();
}

} // namespace pylon
