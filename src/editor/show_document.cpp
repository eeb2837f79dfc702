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
    Ui::Form1& ui = m.form1->ui;

    ui.txtNumFact->setText(d.number);
    ui.txtDateFact->setText(d.date);
    ui.txtNumCli->setText(d.client);
    ui.txtNomCli->setText(d.name);
    ui.txtAdrCli->setPlainText(d.address);

    QListWidget* lists[] = {ui.List1, ui.List2, ui.List3, ui.List4, ui.List5};
    for (size_t c = 0; c < 5; ++c) {
        lists[c]->clear();
        lists[c]->addItems(d.columns[c]);
    }

    const bool shown = !d.number.isEmpty();
    ui.Check1->setChecked(d.onAccount && shown);
    ui.Command16->setEnabled(d.onAccount);
    ui.Label15->setVisible(shown && d.hasCreditNote && m.currentKind() == DocKind::Invoice);
    ui.Label17->setVisible(shown && d.cancelled);

    // A total that cannot be computed keeps the text shown before it, and the words then say that text.
    const std::pair<Module1::ShownTotal*, const std::optional<QString>*> totals[] = {
        {&m.totals.ht, &d.totalHT}, {&m.totals.tva, &d.tva}, {&m.totals.ttc, &d.totalTTC}};
    for (const auto& [shown, text] : totals)
        *shown = Module1::ShownTotal::of(text->has_value() ? **text : padAmount(shown->text));
    showTotals(m);
    ui.txtSomme->setPlainText(d.words ? *d.words : TotalInWords(m.totals.ttc.text));
    m.CurrentLine = 0;
}

void showTotals(Session& m) {
    Ui::Form1& ui = m.form1->ui;
    ui.txtTotalHT->setText(m.totals.ht.text);
    ui.txtTVA->setText(m.totals.tva.text);
    ui.txtTotalTTC->setText(m.totals.ttc.text);
}

} // namespace pylon
