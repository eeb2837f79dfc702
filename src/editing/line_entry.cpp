#include "editing/line_entry.h"

#include "domain/amount_text.h"
#include "domain/line_amounts.h"
#include "editor/form1.h"
#include "editor/session.h"
#include "editor/show_document.h"
#include "widgets/messages.h"

#include <QtNumeric>
#include <algorithm>

namespace pylon {

namespace pointer {

namespace {

// The box follows the cell: over its column, on its row, as wide as the designation or as a number.
void place(Session& m) {
    static constexpr int kLefts[] = {kNbLeft, kQtLeft, kDesignLeft, kPuLeft, kMntLeft};
    const auto& cell = m.pointerCell;
    m.form1->placePointer(kLefts[cell.column], kFirstTop + cell.row * kRowHeight,
                          cell.column == kDesign ? kWide : kNarrow);
}

} // namespace

void park(Session& m) {
    setFieldText(m, EditorField::Pointer, QString());
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
void store(Session& m, int column) {
    if (m.CurrentLine <= m.lines->rows(column)) insertCell(m, column, m.CurrentLine, m.pointerText);
    setFieldText(m, EditorField::Pointer, QString());
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

void guardHeader(Form1& editor) {
    TextRule line;
    line.maxLength = kHeaderLineMax;
    editor.guardField(EditorField::Date, line);
    editor.guardField(EditorField::Name, line);
    TextRule address;
    address.keepLineBreaks = true;
    address.maxLength = kAddressMax;
    editor.guardField(EditorField::Address, address);
}

// A row the column does not have stays missing: setCell leaves it so.
void reformatCell(Session& m, int column, int row) {
    if (const auto t = reformatAmount(m.lines->cell(column, row))) setCell(m, column, row, *t);
}

// The running totals grow by the amount just stored; the tax is taken on the total rounded to cents,
// and the total with tax is the sum of the two as shown. A total that cannot be computed (from a text
// that is not an amount, or beyond the range of amounts) keeps its text, and so do the totals after it.
void addToTotals(Session& m, const std::optional<Amount>& amount) {
    Module1::ShownTotals& t = m.totals;
    const std::optional<Amount> sum = t.ht.amount && amount ? t.ht.amount->plus(*amount) : std::nullopt;
    if (!sum) return;
    t.ht = Module1::ShownTotal::of(formatAmount(*sum));
    const Amount ht = t.ht.amount.value_or(*sum);
    t.tva = Module1::ShownTotal::of(formatAmount(vatOf(ht)));
    if (const auto ttc = ht.plus(t.tva.amount.value_or(Amount(0))))
        t.ttc = Module1::ShownTotal::of(formatAmount(*ttc));
    showTotals(m);
}

void addToTotals(Session& m, const QString& amountText) {
    addToTotals(m, parseAmount(amountText));
}

} // namespace

void changeRunningTotals(Session& m, const QString& before, const QString& after) {
    // A text that is no amount added nothing when it was typed, and takes nothing away.
    const qint64 was = parseAmount(before).value_or(Amount(0)).tenThousandths();
    const qint64 now = parseAmount(after).value_or(Amount(0)).tenThousandths();
    qint64 difference = 0;
    if (qSubOverflow(now, was, &difference)) return;
    if (difference != 0) addToTotals(m, Amount(difference));
}

void lineRemovedFromEntry(Session& m, int row, bool wasFull) {
    if (wasFull) {
        moveTo(m, kNb, m.lines->count());
        m.CurrentLine = qint16(m.lines->count());
        m.form1->showPointer();
        m.form1->focusField(EditorField::Pointer);
        return;
    }
    if (row >= m.CurrentLine) return;
    m.CurrentLine = qint16(m.CurrentLine - 1);
    moveTo(m, m.pointerCell.column, m.pointerCell.row - 1);
}

void fillLines(Session& m, const std::vector<QStringList>& lines) {
    Form1& editor = *m.form1;
    const int rows = std::min(int(lines.size()), int(kRows));
    for (int row = 0; row < rows; ++row) {
        appendLine(m, lines[size_t(row)]);
        addToTotals(m, lines[size_t(row)].value(kMnt));
    }
    if (rows == kRows) {
        editor.hidePointer();
        moveTo(m, kNb, 0);
        editor.focusSaveButton();
        m.CurrentLine = 0;
    } else {
        moveTo(m, kNb, rows);
        m.CurrentLine = qint16(rows);
    }
}

void resumeLine(Session& m, const QStringList& firstCells) {
    const int row = m.CurrentLine;
    const int cells = std::min(int(firstCells.size()), int(kMnt));
    if (cells == 0 || m.pointerCell.row != row || m.pointerCell.column != kNb) return;
    for (int c = 0; c < cells; ++c)
        insertCell(m, c, row, firstCells[c]);
    moveTo(m, cells, row);
    if (cells == kMnt)
        setFieldText(m, EditorField::Pointer,
                     proposedAmount(m.lines->cell(kQt, row), m.lines->cell(kPu, row)));
}

void typeIntoPointer(Session& m, int& k) {
    Form1& editor = *m.form1;
    const auto [column, pointerRow] = m.pointerCell;
    if (column == kDesign && m.pointerText.size() > kDesignMax) {
        k = 8;
        MsgBox(m.form1, QStringLiteral("Veillez ne pas dépasser les marges !"));
    }
    if (k == '.' && isNumberColumn(column)) k = ',';
    if (k != 13) return;
    k = 0;
    const int row = m.CurrentLine;
    switch (column) {
    case kNb:
        store(m, kNb);
        moveTo(m, kQt, pointerRow);
        break;
    case kQt:
        store(m, kQt);
        moveTo(m, kDesign, pointerRow);
        break;
    case kDesign:
        store(m, kDesign);
        moveTo(m, kPu, pointerRow);
        break;
    case kPu:
        store(m, kPu);
        moveTo(m, kMnt, pointerRow);
        reformatCell(m, kPu, row);
        setFieldText(m, EditorField::Pointer,
                     proposedAmount(m.lines->cell(kQt, row), m.lines->cell(kPu, row)));
        break;
    case kMnt:
        store(m, kMnt);
        if (pointerRow == kRows - 1) {
            // The document is full: only saving or abandoning is left.
            editor.hidePointer();
            moveTo(m, kNb, 0);
            editor.focusSaveButton();
            reformatCell(m, kMnt, row);
            addToTotals(m, m.lines->cell(kMnt, row));
            m.CurrentLine = 0;
        } else {
            moveTo(m, kNb, pointerRow + 1);
            reformatCell(m, kMnt, row);
            addToTotals(m, m.lines->cell(kMnt, row));
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
    if (k == 13) m.form1->focusField(EditorField::Client);
}

void txtNomCli_KeyPress(Session& m, int& k) {
    if (k == 13) m.form1->focusField(EditorField::Address);
}

void wireLineEntry(Session& m) {
    Session* mp = &m;
    Form1& editor = *m.form1;
    editor.onFieldKeyPress(EditorField::Pointer, [mp](int& k) { txtPointeur_KeyPress(*mp, k); });
    editor.onFieldKeyPress(EditorField::Date, [mp](int& k) { txtDateFact_KeyPress(*mp, k); });
    editor.onFieldKeyPress(EditorField::Name, [mp](int& k) { txtNomCli_KeyPress(*mp, k); });
    editor.guardPointer([mp] { return pointerRule(mp->pointerCell.column); });
    guardHeader(editor);
}

} // namespace pylon
