#include "editor/show_document.h"

#include "editor/form1.h"
#include "editor/session.h"
#include "store/amount_text.h"
#include "store/amount_words.h"
#include "store/document_display.h"

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

    // A total that cannot be computed keeps the text on screen, and the words then say that text: the
    // only place the display takes anything from the screen, since that text is all there is to show.
    const std::pair<QLineEdit*, const std::optional<QString>*> totals[] = {
        {ui.txtTotalHT, &d.totalHT}, {ui.txtTVA, &d.tva}, {ui.txtTotalTTC, &d.totalTTC}};
    for (const auto& [box, text] : totals)
        box->setText(text->has_value() ? **text : padAmount(box->text()));
    ui.txtSomme->setPlainText(d.words ? *d.words : TotalInWords(ui.txtTotalTTC->text()));
    m.CurrentLine = 0;
}

} // namespace pylon
