#include "editor/show_document.h"

#include "documents/document_display.h"
#include "domain/amount_text.h"
#include "domain/amount_words.h"
#include "editor/form1.h"
#include "editor/session.h"

namespace pylon {

void ShowCurrentDocument(Session& m) {
    // While the view waits for its indexes, the document read without it stays on screen.
    if (m.viewWaits && m.shownWhileViewWaits && m.shownWhileViewWaitsKind == m.currentKind()) {
        showDocumentDisplay(m, *m.shownWhileViewWaits);
        return;
    }
    showDocumentDisplay(
        m, readDocumentDisplay(m.rsDoc.get(), m.rsDetFact.get(), m.rsCliEC.get(), m.currentKind()));
}

void showDocumentDisplay(Session& m, const DocumentDisplay& d) {
    ++m.linesFilled;
    Form1& editor = *m.form1;
    const bool shown = !d.number.isEmpty();
    editor.showHeader({d.number, d.date, {d.client, d.name, d.address, d.onAccount && shown}});
    editor.showLineColumns(d.columns);
    editor.enableMonthEnd(d.onAccount);
    editor.showMarkers(shown && d.hasCreditNote && m.currentKind() == DocKind::Invoice, shown && d.cancelled);

    // A total that cannot be computed keeps the text shown before it, and the words then say that text.
    const std::pair<Module1::ShownTotal*, const std::optional<QString>*> totals[] = {
        {&m.totals.ht, &d.totalHT}, {&m.totals.tva, &d.tva}, {&m.totals.ttc, &d.totalTTC}};
    for (const auto& [shown, text] : totals)
        *shown = Module1::ShownTotal::of(text->has_value() ? **text : padAmount(shown->text));
    showTotals(m);
    editor.showWords(d.words ? *d.words : TotalInWords(m.totals.ttc.text));
    m.CurrentLine = 0;
}

void showTotals(Session& m) {
    m.form1->showTotals(m.totals.ht.text, m.totals.tva.text, m.totals.ttc.text);
}

} // namespace pylon
