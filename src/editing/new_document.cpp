#include "editing/new_document.h"

#include "domain/dates.h"
#include "editing/edit_mode.h"
#include "editing/line_entry.h"
#include "editing/numbering.h"
#include "editor/form1.h"
#include "editor/session.h"
#include "editor/show_document.h"
#include "module/entry_keeping.h"

#include <QDate>

namespace pylon {

void clearForEntry(Session& m) {
    showLines(m, m.currentKind(), QString(), {});
    const auto zero = Module1::ShownTotal::of(QStringLiteral("0"));
    m.totals = {zero, zero, zero};
    showTotals(m);
    m.form1->clearWords();
}

void Command5_Click(Session& m) {
    beginNewDocument(m);
}

void beginNewDocument(Session& m) {
    Form1& editor = *m.form1;
    if (m.currentKind() == DocKind::CreditNote) {
        if (m.showAttachList) m.showAttachList();
        editor.showMarkers(false, false);
        // During a credit note's entry the lines and the pointer stay as they are (a pick does nothing
        // until the entry ends): typing goes on at the row under the pointer, in all five columns alike.
        if (!m.editMode()) m.CurrentLine = 0;
        return;
    }
    // "Aj&outer" again drops the entry under way: it is kept before its number and date are replaced.
    if (m.editMode()) entryDropped(m);
    setFieldText(m, EditorField::Number, QString::number(nextNumber(m, m.currentKind())));
    setFieldText(m, EditorField::Date, dates::toScreen(QDate::currentDate()));
    clearForEntry(m);
    clearClient(m);
    m.clientTakenFromFile.clear();
    pointer::park(m);
    editor.showPointer();
    enterEditMode(m, true);
    editor.focusField(EditorField::Pointer);
    editor.showMarkers(false, false);
    m.CurrentLine = 0;
}

void wireNewDocument(Session& m) {
    Session* mp = &m;
    m.form1->onButton(EditorButton::New, [mp] { Command5_Click(*mp); });
}

} // namespace pylon
