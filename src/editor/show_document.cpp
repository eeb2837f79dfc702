#include "editor/show_document.h"

#include "documents/document_display.h"
#include "domain/amount_text.h"
#include "domain/amount_words.h"
#include "editor/form1.h"
#include "editor/session.h"
#include "module/entry_keeping.h"

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
    Form1& editor = *m.form1;
    const bool shown = !d.number.isEmpty();
    showHeader(m, {d.number, d.date, {d.client, d.name, d.address, d.onAccount && shown}});
    showLines(m, m.currentKind(), d.number, d.columns);
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

void showHeader(Session& m, const ShownHeader& header) {
    entryLeavesScreen(m);
    m.header = header;
    m.form1->showHeader(header);
}

void showClient(Session& m, const ShownClient& client) {
    m.header.client = client;
    m.form1->showClient(client);
}

void clearClient(Session& m) {
    showClient(m, {});
}

namespace {

// The text of a field in the data, for a Session or a const one.
template <typename S> auto fieldOf(S& m, EditorField field) -> decltype(&m.pointerText) {
    switch (field) {
    case EditorField::Number:
        return &m.header.number;
    case EditorField::Date:
        return &m.header.date;
    case EditorField::Client:
        return &m.header.client.number;
    case EditorField::Name:
        return &m.header.client.name;
    case EditorField::Address:
        return &m.header.client.address;
    case EditorField::Pointer:
        break;
    }
    return &m.pointerText;
}

} // namespace

QString fieldText(const Session& m, EditorField field) {
    return *fieldOf(m, field);
}

void setFieldText(Session& m, EditorField field, const QString& text) {
    *fieldOf(m, field) = text;
    m.form1->setFieldText(field, text);
}

void showLines(Session& m, DocKind kind, const QString& storedNumber, const LineColumnTexts& columns) {
    entryLeavesScreen(m);
    m.lines = std::make_shared<ShownLines>(ShownLines{kind, storedNumber, columns});
    m.form1->showLineColumns(columns);
}

void appendLine(Session& m, const QStringList& cells) {
    m.lines->append(cells);
    m.form1->appendLine(cells);
}

void insertCell(Session& m, int column, int row, const QString& text) {
    m.lines->insertCell(column, row, text);
    m.form1->insertCell(column, row, text);
}

void setCell(Session& m, int column, int row, const QString& text) {
    m.lines->setCell(column, row, text);
    m.form1->setCellText(column, row, text);
}

void removeLine(Session& m, int row) {
    m.lines->removeLine(row);
    m.form1->removeLine(row);
}

} // namespace pylon
