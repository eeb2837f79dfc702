#include "editor/show_document.h"

#include "editor/form1.h"
#include "editor/session.h"
#include "store/amount_text.h"
#include "store/amount_words.h"
#include "store/dates.h"
#include "store/totals.h"

#include <QDate>

namespace pylon {

namespace {

// A stored value as the editor shows it: dates as dd/MM/yyyy, nothing for a missing value.
QString shown(const std::optional<QVariant>& v) {
    if (!v || v->isNull()) return QString();
    if (v->typeId() == QMetaType::QDate) return dates::toScreen(v->toDate());
    return v->toString();
}

bool flagOf(RecordSet* rs, const char* field) {
    if (!rs) return false;
    const auto v = rs->Fields(QString::fromUtf8(field));
    return v && v->toBool();
}

void appendLines(RecordSet& rs, const QString& number, Ui::Form1& ui) {
    const QString criteria = QStringLiteral("NumFact=") + number;
    QListWidget* lists[] = {ui.List1, ui.List2, ui.List3, ui.List4, ui.List5};
    const char* fields[] = {"NB", "Qt", "Design", "PU", "Mnt"};
    for (bool found = rs.FindFirst(criteria) && !rs.NoMatch(); found;
         found = rs.FindNext(criteria) && !rs.NoMatch())
        for (int c = 0; c < 5; ++c)
            lists[c]->addItem(shown(rs.Fields(QString::fromLatin1(fields[c]))));
}

} // namespace

void ShowCurrentDocument(Session& m) {
    ++m.linesFilled;
    Ui::Form1& ui = m.form1->ui;
    RecordSet* doc = m.rsDoc.get();

    // Position: an end flag left by a walk brings the view back onto its last or first row.
    if (doc && doc->IsEOF()) doc->MoveLast();
    if (doc && doc->IsBOF()) doc->MoveFirst();

    // Header.
    QLineEdit* header[] = {ui.txtNumFact, ui.txtDateFact, ui.txtNumCli, ui.txtNomCli};
    const char* headerFields[] = {"NumFact", "DateFact", "NumCli", "NomCli"};
    for (int i = 0; i < 4; ++i)
        header[i]->setText(doc ? shown(doc->Fields(QString::fromLatin1(headerFields[i]))) : QString());
    ui.txtAdrCli->setPlainText(doc ? shown(doc->Fields(QStringLiteral("AdrCli"))) : QString());
    // Read the flags now: the credit-note lines below move the view within the document.
    const bool hasCreditNote = flagOf(doc, "Avoir");
    const bool cancelled = flagOf(doc, "Annulée");

    // Lines.
    for (QListWidget* l : {ui.List1, ui.List2, ui.List3, ui.List4, ui.List5})
        l->clear();
    const QString number = ui.txtNumFact->text();
    if (!number.isEmpty()) {
        RecordSet* lines = m.currentKind() == DocKind::CreditNote ? doc : m.rsDetFact.get();
        if (lines) appendLines(*lines, number, ui);
    }

    // Client on account.
    bool onAccount = false;
    if (m.rsCliEC && m.rsCliEC->FindFirst(QStringLiteral("NumCli=") + ui.txtNumCli->text()) &&
        !m.rsCliEC->NoMatch())
        onAccount = flagOf(m.rsCliEC.get(), "ClientC");
    ui.Check1->setChecked(onAccount);
    ui.Command16->setEnabled(onAccount);

    // Markers.
    ui.Label15->setVisible(hasCreditNote && m.currentKind() == DocKind::Invoice);
    ui.Label17->setVisible(cancelled);

    // Totals, in ten-thousandths so that the tax and the total add up exactly. A total that cannot be
    // computed keeps its text.
    QStringList amounts;
    for (int i = 0; i < ui.List5->count(); ++i)
        amounts << ui.List5->item(i)->text();
    const Totals totals = totalsOf(amounts);
    if (totals.ht) ui.txtTotalHT->setText(formatAmount(*totals.ht));
    if (totals.tva) ui.txtTVA->setText(formatAmount(*totals.tva));
    if (totals.ttc) ui.txtTotalTTC->setText(formatAmount(*totals.ttc));

    for (QListWidget* l : {ui.List4, ui.List5})
        for (int i = 0; i < l->count(); ++i)
            if (const auto t = reformatAmount(l->item(i)->text())) l->item(i)->setText(*t);

    // The words say the total with tax; one that could not be computed is still the one on screen.
    ui.txtSomme->setPlainText(TotalInWords(totals.ttc ? formatAmount(*totals.ttc) : ui.txtTotalTTC->text()));

    for (QListWidget* l : {ui.List5, ui.List4})
        for (int i = 0; i < l->count(); ++i)
            l->item(i)->setText(padAmount(l->item(i)->text()));
    for (QLineEdit* t : {ui.txtTotalHT, ui.txtTVA, ui.txtTotalTTC})
        t->setText(padAmount(t->text()));

    if (number.isEmpty()) {
        ui.Label15->setVisible(false);
        ui.Label17->setVisible(false);
        ui.Check1->setChecked(false);
    }
    m.CurrentLine = 0;
}

} // namespace pylon
