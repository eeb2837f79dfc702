#include "browse/list_window.h"

#include "browse/document_list.h"
#include "browse/form2.h"
#include "browse/list_rows.h"
#include "browse/party_list.h"
#include "editing/attach.h"
#include "editor/form1.h"
#include "editor/session.h"
#include "editor/show_document.h"
#include "store/background_read.h"

#include <QSignalBlocker>

namespace pylon {

namespace {

// Row i of every column belongs to the same record, so a row chosen in one column is chosen in all.
// This follows the selection, not the current row: a column that takes the focus gets a current row
// without choosing it, and that must not choose a row for the others. The others are set with their
// signals held back: they are brought to the row, they do not lead. A column too short for the row
// (the type column after a shorter list) keeps its own selection.
void alignColumns(Form2& w, const ListColumn* leader) {
    const int row = leader->ListIndex();
    if (row < 0) return;
    for (ListColumn* c : w.columns()) {
        if (c == leader || row >= c->count() || c->ListIndex() == row) continue;
        const QSignalBlocker quiet(c);
        c->setCurrentRow(row);
    }
}

void wireWindow(Session& m, Form2& w) {
    for (ListColumn* list : w.columns())
        QObject::connect(list, &ListColumn::chosenRowChanged, &w, [&w, list] { alignColumns(w, list); });
    Session* mp = &m;
    QObject::connect(&w, &Form2::columnDoubleClicked, &w, [mp] { List1_DblClick(*mp); });
    // Enter picks the selected row as a double-click does; with none selected it does nothing, where a
    // double-click below the rows would still empty the client fields of an entry.
    QObject::connect(&w, &Form2::columnEntered, &w, [mp, &w] {
        if (w.ui.List1->ListIndex() >= 0) actOnListedRow(*mp);
    });
}

// The editor goes to the first row of its view that meets the criteria. A number the view does not
// hold, or no number at all, leaves the view where it stands and the editor shows that document again.
void showFound(Session& m, const QString& criteria) {
    if (m.rsDoc) m.rsDoc->FindFirst(criteria);
    ShowCurrentDocument(m);
}

} // namespace

Form2& listWindow(Session& m) {
    if (auto* w = qobject_cast<Form2*>(m.form2.get())) return *w;
    auto w = std::make_unique<Form2>();
    wireWindow(m, *w);
    m.form2 = std::move(w);
    return static_cast<Form2&>(*m.form2);
}

void showListWindow(Session& m) {
    Form2& w = listWindow(m);
    w.show();
    w.raise();
    w.activateWindow();
}

void setHeadings(Form2& w, const QString& first, const QString& second, const QString& third) {
    QLabel* const labels[] = {w.ui.Label1, w.ui.Label2, w.ui.Label3};
    const QString texts[] = {first, second, third};
    for (int i = 0; i < 3; ++i) {
        labels[i]->setText(texts[i]);
        labels[i]->adjustSize();
    }
}

void setColumns(Form2& w, const std::shared_ptr<ListRows>& rows, int columns) {
    w.pendingRead.reset();
    // A column the new list leaves alone (the type column) shows texts that need no file: whatever the
    // previous list held on the file goes.
    w.releaseRows();
    const auto all = w.columns();
    for (int c = 0; c < columns; ++c) {
        const QSignalBlocker quiet(all[size_t(c)]);
        all[size_t(c)]->setRows(rows, c);
    }
}

void fillColumnsBehind(Form2& w, std::unique_ptr<BackgroundRead> read, int columns) {
    setColumns(w, nullptr, columns);
    w.pendingRead = std::move(read);
}

void fillDocumentColumns(Session& m, Form2& w, const DocumentChoice& choice, const QString& type,
                         int columns) {
    auto behind = m.readsBehind()
                      ? ListedDocuments::readBehind(
                            m.db, choice,
                            [&w, type, columns](std::shared_ptr<ListedDocuments> documents) {
                                setColumns(w, std::make_shared<DocumentRows>(documents, type), columns);
                            })
                      : nullptr;
    if (behind)
        fillColumnsBehind(w, std::move(behind), columns);
    else
        setColumns(w, std::make_shared<DocumentRows>(ListedDocuments::read(m.db, choice), type), columns);
}

void releaseListWindow(Session& m) {
    if (auto* w = qobject_cast<Form2*>(m.form2.get())) {
        w->pendingRead.reset();
        w->releaseRows();
    }
}

void actOnListedRow(Session& m) {
    Form2& w = listWindow(m);
    const int row = w.ui.List1->ListIndex();
    const QString t = w.ui.List1->text(row);
    // The edit mode and the list are read now: either may have changed since the list was filled.
    if (m.editMode()) {
        if (m.listMode == ListMode::Clients) pickClient(m, row);
        return;
    }
    switch (m.listMode) {
    case ListMode::Documents:
        showFound(m, QStringLiteral("NumFact=") + t);
        break;
    case ListMode::Clients:
    case ListMode::Suppliers:
        showFound(m, QStringLiteral("NumCli=") + t);
        break;
    case ListMode::Attach:
        // Without a picked document there is nothing to attach the credit note to.
        if (row >= 0) AttachCreditNote(m, t);
        break;
    case ListMode::None:
        break;
    }
}

void List1_DblClick(Session& m) {
    actOnListedRow(m);
}

void setListMode(Session& m, Form2& w, ListMode mode) {
    // The caption names the list for the user; the supplier list is the client list's caption in the
    // purchase-order kind.
    static const QString captions[] = {
        QString(), QStringLiteral("Liste des factures."), QStringLiteral("Liste des clients."),
        QStringLiteral("Liste des fournisseurs."), QStringLiteral("Attaché Avoir au facture :")};
    m.listMode = mode;
    w.setWindowTitle(captions[static_cast<int>(mode)]);
}

void wireListWindow(Session& m) {
    Session* mp = &m;
    m.form1->onButton(EditorButton::DocumentList, [mp] { Command7_Click(*mp); });
    m.form1->onButton(EditorButton::PartyList, [mp] { Command9_Click(*mp); });
}

} // namespace pylon
