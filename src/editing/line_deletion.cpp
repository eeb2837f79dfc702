#include "editing/line_deletion.h"

#include "documents/line_rewrite.h"
#include "editing/line_dialog.h"
#include "editing/line_entry.h"
#include "editor/form1.h"
#include "editor/session.h"
#include "editor/show_document.h"
#include "widgets/messages.h"

namespace pylon {

namespace {

void deleteFromEntry(Session& m, int row) {
    // A line still being typed has not reached its amount: it is finished or emptied with the pointer.
    if (row >= m.lines->rows(pointer::kMnt)) return;
    const bool wasFull = m.lines->rows(pointer::kMnt) >= pointer::kRows;
    const QString amount = m.lines->cell(pointer::kMnt, row);
    removeLine(m, row);
    changeRunningTotals(m, amount, QString());
    lineRemovedFromEntry(m, row, wasFull);
}

void deleteFromStoredDocument(Session& m, int row) {
    const auto lines = m.lines;
    bool numbered = false;
    const qint64 number = lines->storedNumber.toLongLong(&numbered);
    if (!numbered) return;
    if (lines->count() <= 1) {
        MsgBox(m.form1,
               QStringLiteral("Le document n'a que cette ligne : pour l'effacer, supprimez le document."),
               MsgStyle::Ok, QStringLiteral("Attention"));
        return;
    }
    if (MsgBox(m.form1, QStringLiteral("Supprimer la ligne n° %1 ?").arg(row + 1), MsgStyle::YesNoDefaultNo,
               QStringLiteral("Attention !")) != MsgAnswer::Yes)
        return;
    std::vector<LineCells> rest = lines->lines();
    rest.erase(rest.begin() + row);
    const WriteResult written = rewriteLines(m.db, kindInfo(lines->kind).linesTable, number, rest);
    if (!written.isDone()) {
        MsgBox(m.form1, QStringLiteral("La ligne n'a pas pu être supprimée : ") + written.message);
        return;
    }
    showRewrittenDocument(m, lines->kind, lines->storedNumber);
}

} // namespace

void deleteLine(Session& m, int row) {
    if (row < 0 || row >= m.lines->count()) return;
    if (m.editMode())
        deleteFromEntry(m, row);
    else
        deleteFromStoredDocument(m, row);
}

void wireLineDeletion(Session& m) {
    Session* mp = &m;
    m.form1->onLineDeleteAsked([mp](int row) { deleteLine(*mp, row); });
}

} // namespace pylon
