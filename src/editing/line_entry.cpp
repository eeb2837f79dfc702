#include "editing/line_entry.h"

#include "domain/amount_text.h"
#include "domain/line_amounts.h"
#include "editor/form1.h"
#include "editor/key_press.h"
#include "editor/messages.h"
#include "editor/paste_guard.h"
#include "editor/session.h"
#include "editor/show_document.h"

#include <QtNumeric>
#include <algorithm>

namespace pylon {

namespace pointer {

namespace {

// The box follows the cell: over its column, on its row, as wide as the designation or as a number.
void place(Session& m) {
    static constexpr int kLefts[] = {kNbLeft, kQtLeft, kDesignLeft, kPuLeft, kMntLeft};
    const auto& cell = m.pointerCell;
    QLineEdit* p = m.form1->ui.txtPointeur;
    p->setGeometry(kLefts[cell.column], kFirstTop + cell.row * kRowHeight,
                   cell.column == kDesign ? kWide : kNarrow, p->height());
}

} // namespace

void park(Session& m) {
    m.form1->ui.txtPointeur->clear();
    m.pointerCell = {};
    place(m);
}

} // namespace pointer

namespace {

using namespace pointer;

void moveTo(Session& m, int column, int row) {
    m.pointerCell = {column, row};
    place(m);
}

bool isNumberColumn(int column) {
    return column == kQt || column == kPu || column == kMnt;
}

// Stores the pointer's text in the row being typed of a column, and empties the pointer.
void store(Session& m, QListWidget* list) {
    QLineEdit* p = m.form1->ui.txtPointeur;
    if (m.CurrentLine <= list->count()) list->insertItem(m.CurrentLine, p->text());
    p->clear();
}

// What may be typed or pasted into the pointer where it is. Typing can take the designation one character
// past the margin, which the next key (Enter included) takes back with the margin message; pasted text stops
// at the same place, so the margin works the same way for it. The other columns have no margin.
TextRule pointerRule(int column) {
    TextRule rule;
    rule.decimalComma = isNumberColumn(column);
    rule.maxLength = column == kDesign ? kDesignMax + 1 : kCellMax;
    return rule;
}

// Header fields take any text, but within reason: a pasted page must neither slow the window down nor end
// up in the file. A name or a date is one line; the address keeps its line breaks.
constexpr int kHeaderLineMax = 255;
constexpr int kAddressMax = 1000;

void guardHeader(Ui::Form1& ui) {
    TextRule line;
    line.maxLength = kHeaderLineMax;
    guardLineEdit(ui.txtDateFact, line);
    guardLineEdit(ui.txtNomCli, line);
    TextRule address;
    address.keepLineBreaks = true;
    address.maxLength = kAddressMax;
    guardPlainTextEdit(ui.txtAdrCli, address);
}

void reformatCell(QListWidget* list, int row) {
    if (QListWidgetItem* item = list->item(row))
        if (const auto t = reformatAmount(item->text())) item->setText(*t);
}

// The running totals grow by the amount just stored; the tax is taken on the total rounded to cents,
// and the total with tax is the sum of the two as shown. A total that cannot be computed (from a text
// that is not an amount, or beyond the range of amounts) keeps its text, and so do the totals after it.
void addToTotals(Session& m, const QString& amountText) {
    Module1::ShownTotals& t = m.totals;
    const auto amount = parseAmount(amountText);
    const std::optional<Amount> sum = t.ht.amount && amount ? t.ht.amount->plus(*amount) : std::nullopt;
    if (!sum) return;
    t.ht = Module1::ShownTotal::of(formatAmount(*sum));
    const Amount ht = t.ht.amount.value_or(*sum);
    t.tva = Module1::ShownTotal::of(formatAmount(vatOf(ht)));
    if (const auto ttc = ht.plus(t.tva.amount.value_or(Amount(0))))
        t.ttc = Module1::ShownTotal::of(formatAmount(*ttc));
    showTotals(m);
}

} // namespace

QString cellText(const QListWidget* list, int row) {
    const QListWidgetItem* item = list->item(row);
    return item ? item->text() : QString();
}

void fillLines(Session& m, const std::vector<QStringList>& lines) {
    Ui::Form1& ui = m.form1->ui;
    QListWidget* columns[] = {ui.List1, ui.List2, ui.List3, ui.List4, ui.List5};
    const int rows = std::min(int(lines.size()), int(kRows));
    for (int row = 0; row < rows; ++row) {
        for (int c = 0; c < 5; ++c)
            columns[c]->addItem(lines[size_t(row)].value(c));
        addToTotals(m, lines[size_t(row)].value(4));
    }
    if (rows == kRows) {
        ui.txtPointeur->hide();
        moveTo(m, kNb, 0);
        ui.Command6->setFocus();
        m.CurrentLine = 0;
    } else {
        moveTo(m, kNb, rows);
        m.CurrentLine = qint16(rows);
    }
}

void typeIntoPointer(Session& m, int& k) {
    Ui::Form1& ui = m.form1->ui;
    QLineEdit* p = ui.txtPointeur;
    const auto [column, pointerRow] = m.pointerCell;
    if (column == kDesign && p->text().size() > kDesignMax) {
        k = 8;
        MsgBox(m.form1, QStringLiteral("Veillez ne pas dépasser les marges !"));
    }
    if (k == '.' && isNumberColumn(column)) k = ',';
    if (k != 13) return;
    k = 0;
    const int row = m.CurrentLine;
    switch (column) {
    case kNb:
        store(m, ui.List1);
        moveTo(m, kQt, pointerRow);
        break;
    case kQt:
        store(m, ui.List2);
        moveTo(m, kDesign, pointerRow);
        break;
    case kDesign:
        store(m, ui.List3);
        moveTo(m, kPu, pointerRow);
        break;
    case kPu:
        store(m, ui.List4);
        moveTo(m, kMnt, pointerRow);
        reformatCell(ui.List4, row);
        p->setText(proposedAmount(cellText(ui.List2, row), cellText(ui.List4, row)));
        break;
    case kMnt:
        store(m, ui.List5);
        if (pointerRow == kRows - 1) {
            // The document is full: only saving or abandoning is left.
            p->hide();
            moveTo(m, kNb, 0);
            ui.Command6->setFocus();
            reformatCell(ui.List5, row);
            addToTotals(m, cellText(ui.List5, row));
            m.CurrentLine = 0;
        } else {
            moveTo(m, kNb, pointerRow + 1);
            reformatCell(ui.List5, row);
            addToTotals(m, cellText(ui.List5, row));
            m.CurrentLine = qint16(m.CurrentLine + 1);
        }
        break;
    default:
        break;
    }
}

void txtPointeur_KeyPress(Session& m, int& k) {
    typeIntoPointer(m, k);
}

void txtDateFact_KeyPress(Session& m, int& k) {
    if (k == 13) m.form1->ui.txtNumCli->setFocus();
}

void txtNomCli_KeyPress(Session& m, int& k) {
    if (k == 13) m.form1->ui.txtAdrCli->setFocus();
}

void wireLineEntry(Session& m) {
    Session* mp = &m;
    onKeyPress(m.form1->ui.txtPointeur, [mp](int& k) { txtPointeur_KeyPress(*mp, k); });
    onKeyPress(m.form1->ui.txtDateFact, [mp](int& k) { txtDateFact_KeyPress(*mp, k); });
    onKeyPress(m.form1->ui.txtNomCli, [mp](int& k) { txtNomCli_KeyPress(*mp, k); });
    guardLineEdit(m.form1->ui.txtPointeur, [mp] { return pointerRule(mp->pointerCell.column); });
    guardHeader(m.form1->ui);
}

} // namespace pylon
