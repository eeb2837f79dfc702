#include "editing/line_dialog.h"

#include "documents/line_rewrite.h"
#include "domain/line_amounts.h"
#include "editing/form5.h"
#include "editing/line_entry.h"
#include "editor/form1.h"
#include "editor/session.h"
#include "editor/show_document.h"
#include "widgets/key_press.h"
#include "widgets/messages.h"
#include "widgets/paste_guard.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSignalBlocker>
#include <array>

namespace pylon {

namespace {

std::array<QLineEdit*, 5> boxes(Form5& d) {
    return {d.ui.Text1, d.ui.Text2, d.ui.Text3, d.ui.Text4, d.ui.Text5};
}

// Quantity times unit price, proposed as the amount. Boxes that do not hold numbers leave the amount as
// the user left it.
void proposeAmount(Session& m, Form5& d) {
    auto& cells = m.lineDialog.cells;
    const QString product = plainProduct(cells[pointer::kQt], cells[pointer::kPu]);
    if (product.isEmpty()) return;
    cells[pointer::kMnt] = product;
    d.ui.Text5->setText(product);
}

// Sets a cell of the line without proposing an amount: filling or tidying the boxes must leave the
// line's own amount, which may differ from the product (a discount typed over it).
void setQuietly(Session& m, Form5& d, int column, const QString& text) {
    m.lineDialog.cells[size_t(column)] = text;
    const QSignalBlocker quantity(d.ui.Text2), price(d.ui.Text4);
    boxes(d)[size_t(column)]->setText(text);
}

void boxKeyPress(Session& m, int box, int& k) {
    Form5& d = lineDialog(m);
    if (k == '.' && (box == 2 || box == 4 || box == 5)) k = ',';
    if (k != 13) return;
    k = 0;
    switch (box) {
    case 1:
        d.ui.Text2->setFocus();
        break;
    case 2:
        d.ui.Text3->setFocus();
        break;
    case 3:
        d.ui.Text4->setFocus();
        break;
    case 4:
        d.ui.Text5->setFocus();
        proposeAmount(m, d);
        break;
    default:
        break;
    }
}

QString withoutLeadingSpaces(const QString& t) {
    qsizetype n = 0;
    while (n < t.size() && t[n] == u' ')
        ++n;
    return t.mid(n);
}

// The lines of the shown document as their rows show them, the amounts right-aligned with spaces included,
// with the dialog's boxes in place of the edited row; only the edited line's unit price and amount lose
// their leading spaces. Files written this way read back the same, and older ones hold such texts too.
std::vector<LineCells> linesWithEdit(const ShownLines& shown, const Module1::LineDialogState& dialog,
                                     int row) {
    std::vector<LineCells> lines = shown.lines();
    if (row < 0 || row >= int(lines.size())) return lines;
    LineCells& edited = lines[size_t(row)];
    for (int c = 0; c < kLineColumns; ++c) {
        const QString& typed = dialog.cells[size_t(c)];
        edited[c] = c >= pointer::kPu ? withoutLeadingSpaces(typed) : typed;
    }
    return lines;
}

// The dialog stays open while the editor goes on: once the editor has filled its lines anew (another
// document, the same one shown again, an entry begun or dropped), the dialog's row may hold another line
// or none, and writing it back would overwrite a line that the user never chose. The user is told and
// can double-click the line again, which refills the dialog. Null when the line is no longer on screen.
std::shared_ptr<const ShownLines> linesStillShown(Session& m, Form5& d) {
    const Module1::LineDialogState& line = m.lineDialog;
    auto lines = line.lines.lock();
    if (lines && lines == m.lines && line.row >= 0 && line.row < lines->count()) return lines;
    MsgBox(
        &d,
        QStringLiteral("La ligne de cette fenêtre n'est plus celle affichée dans la facture : rien n'a été "
                       "modifié.\nDouble-cliquez de nouveau sur la ligne à modifier."),
        MsgStyle::Ok, QStringLiteral("Attention"));
    return nullptr;
}

void rewriteShownDocument(Session& m, Form5& d) {
    const auto lines = linesStillShown(m, d);
    if (!lines) return;
    const DocKind kind = lines->kind;
    const QString number = m.lineDialog.Tag;
    bool numbered = false;
    const qint64 stored = number.toLongLong(&numbered);
    const WriteResult written = numbered
                                    ? rewriteLines(m.db, kindInfo(kind).linesTable, stored,
                                                   linesWithEdit(*lines, m.lineDialog, m.lineDialog.row))
                                    : WriteResult::refused(QStringLiteral("numéro de document illisible"));
    if (!written.isDone()) {
        // The file keeps the lines it had, and so do the lists; the dialog stays open with the edit.
        MsgBox(&d, QStringLiteral("La modification n'a pas pu être enregistrée : ") + written.message);
        return;
    }
    d.hide();
    showRewrittenDocument(m, kind, number);
}

} // namespace

void showRewrittenDocument(Session& m, DocKind kind, const QString& number) {
    // A view still waiting for its indexes is opened with them; the display read before the change is
    // not shown again meanwhile.
    if (m.viewWaits) m.shownWhileViewWaits.reset();
    if (auto view = RecordSet::open(m.db, kindInfo(kind).viewSql); view && !m.viewWaits)
        m.rsDoc = std::move(view);
    if (m.rsDoc) m.rsDoc->FindFirst(QStringLiteral("NumFact=") + number);
    ShowCurrentDocument(m);
    m.CurrentLine = 0;
}

Form5& lineDialog(Session& m) {
    if (auto* d = qobject_cast<Form5*>(m.form5.get())) return *d;
    auto* d = new Form5(m);
    m.form5.reset(d);
    Session* mp = &m;
    const auto texts = boxes(*d);
    for (int box = 1; box <= 5; ++box) {
        onKeyPress(texts[box - 1], [mp, box](int& k) { boxKeyPress(*mp, box, k); });
        // Pasted text follows the rules of the typed one: no line breaks or tabs in a cell, commas in the
        // number boxes, the designation within the margins and the other cells within reason.
        TextRule cell;
        cell.decimalComma = box == 2 || box == 4 || box == 5;
        cell.maxLength = box == 3 ? kDesignMax : kCellMax;
        guardLineEdit(texts[box - 1], cell);
        // What the user types is the line's cell; read from the box, which a paste guard may have cleaned
        // while the change was still being told.
        QLineEdit* typed = texts[box - 1];
        QObject::connect(typed, &QLineEdit::textChanged, d,
                         [mp, box, typed] { mp->lineDialog.cells[size_t(box - 1)] = typed->text(); });
    }
    for (QLineEdit* typed : {d->ui.Text2, d->ui.Text4})
        QObject::connect(typed, &QLineEdit::textChanged, d, [mp, d] { proposeAmount(*mp, *d); });
    QObject::connect(d->ui.Command1, &QPushButton::clicked, d, [mp] { Form5_Command1_Click(*mp); });
    QObject::connect(d->ui.Command2, &QPushButton::clicked, d, [mp] { Form5_Command2_Click(*mp); });
    const QScreen* screen = m.form1 ? m.form1->screen() : QGuiApplication::primaryScreen();
    if (screen) d->move(screen->availableGeometry().center() - d->rect().center());
    return *d;
}

void selectSameRowInEveryColumn(Session& m, int list) {
    // Selecting a row in the other lists sets off their own clicks: those must not start over.
    static bool inStep = false;
    if (inStep) return;
    inStep = true;
    Form1& editor = *m.form1;
    const int row = editor.selectedRow(list - 1);
    for (int other = 0; other < kLineColumns; ++other)
        if (other != list - 1 && editor.selectedRow(other) != row) editor.selectRow(other, row);
    inStep = false;
}

void LineColumn_Click(Session& m, int list) {
    selectSameRowInEveryColumn(m, list);
}

void editLineInDialog(Session& m) {
    Form1& editor = *m.form1;
    const int row = editor.selectedRow(0);
    if (row < 0) return;
    // The dialog keeps its own row: CurrentLine stays the row under the line pointer, so that typing during
    // an entry goes on there in all five columns while the dialog is open.
    Form5& d = lineDialog(m);
    m.lineDialog = {m.editMode() ? m.header.number : m.lines->storedNumber, m.lines, row, {}};
    for (int c = 0; c < kLineColumns; ++c)
        setQuietly(m, d, c, m.lines->cell(c, row));
    d.show();
    d.raise();
    d.activateWindow();
}

void LineColumn_DblClick(Session& m) {
    editLineInDialog(m);
}

void tidyLineDialogBoxes(Session& m) {
    Form5& d = lineDialog(m);
    // The amounts come right-aligned with spaces and a saved empty cell holds one space; the designation
    // keeps its spaces.
    for (const int c : {pointer::kNb, pointer::kQt, pointer::kPu, pointer::kMnt})
        setQuietly(m, d, c, m.lineDialog.cells[size_t(c)].trimmed());
}

void Form5_Activate(Session& m) {
    tidyLineDialogBoxes(m);
}

void writeLineDialogBack(Session& m) {
    Form5& d = lineDialog(m);
    if (!m.editMode()) {
        rewriteShownDocument(m, d);
        return;
    }
    // During an entry only the lists change: the document is stored when the entry is saved.
    if (!linesStillShown(m, d)) return;
    const int row = m.lineDialog.row;
    // The line's amount went into the running totals when it was typed (a line still being typed has no
    // amount yet): the totals follow its change.
    const bool counted = row < m.lines->rows(pointer::kMnt);
    const QString amountBefore = m.lines->cell(pointer::kMnt, row);
    for (int c = 0; c < kLineColumns; ++c)
        setCell(m, c, row, m.lineDialog.cells[size_t(c)]);
    if (counted) changeRunningTotals(m, amountBefore, m.lines->cell(pointer::kMnt, row));
    d.hide();
    m.form1->focusField(EditorField::Pointer);
}

void Form5_Command1_Click(Session& m) {
    writeLineDialogBack(m);
}

void putLineDialogAway(Session& m) {
    // Typing goes on where it was: the dialog never moved the row of the line pointer.
    lineDialog(m).hide();
}

void Form5_Command2_Click(Session& m) {
    putLineDialogAway(m);
}

void wireLineDialog(Session& m) {
    Session* mp = &m;
    for (int k = 1; k <= kLineColumns; ++k) {
        m.form1->onLineSelectionChanged(k - 1, [mp, k] { LineColumn_Click(*mp, k); });
        m.form1->onLineDoubleClicked(k - 1, [mp] { LineColumn_DblClick(*mp); });
    }
}

} // namespace pylon
