#include "editing/line_dialog.h"

#include "app/key_press.h"
#include "app/messages.h"
#include "app/module1.h"
#include "app/paste_guard.h"
#include "editing/form5.h"
#include "editing/line_amounts.h"
#include "editing/line_entry.h"
#include "editing/line_rewrite.h"
#include "editor/form1.h"
#include "editor/show_document.h"

#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QScreen>
#include <QSignalBlocker>
#include <array>

namespace pylon {

namespace {

std::array<QListWidget*, 5> columns(Ui::Form1& ui) {
    return {ui.List1, ui.List2, ui.List3, ui.List4, ui.List5};
}

std::array<QLineEdit*, 5> boxes(Form5& d) {
    return {d.ui.Text1, d.ui.Text2, d.ui.Text3, d.ui.Text4, d.ui.Text5};
}

int selectedRow(const QListWidget* list) {
    const QModelIndexList selected = list->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

QString cellText(const QListWidget* list, int row) {
    const QListWidgetItem* item = list->item(row);
    return item ? item->text() : QString();
}

// The row of the lines under the line pointer: where typing goes on during an entry.
qint16 pointerRow(Ui::Form1& ui) {
    return qint16((ui.txtPointeur->y() - pointer::kFirstTop) / pointer::kRowHeight);
}

// The number of the document the editor shows, from its record: the number field is also the lookup field,
// and the user may have typed another number over it without looking that one up.
QString shownNumber(Module1& m) {
    const auto v = m.rsDoc ? m.rsDoc->Fields(QStringLiteral("NumFact")) : std::nullopt;
    return v && !v->isNull() ? QString::number(v->toLongLong()) : QString();
}

// The lists hold lines of the table of the kind the editor's view was opened for. Choosing another kind in
// the main menu makes it the current kind at once, before "&Lancer" opens its view: until then a rewrite by
// the current kind would put the lists' lines into the other table.
const char* const kOpenedView = "openedView";

bool viewIsOfCurrentKind(Module1& m) {
    return m.rsDoc && m.rsDoc->source() == kindInfo(m.currentKind()).viewSql;
}

// Quantity times unit price, proposed as the amount. Boxes that do not hold numbers leave the amount as
// the user left it.
void proposeAmount(Form5& d) {
    const QString product = plainProduct(d.ui.Text2->text(), d.ui.Text4->text());
    if (!product.isEmpty()) d.ui.Text5->setText(product);
}

// Sets texts of the boxes without proposing an amount: filling or tidying the boxes must leave the
// line's own amount, which may differ from the product (a discount typed over it).
void setQuietly(Form5& d, QLineEdit* box, const QString& text) {
    const QSignalBlocker quantity(d.ui.Text2), price(d.ui.Text4);
    box->setText(text);
}

void boxKeyPress(Module1& m, int box, int& k) {
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
        proposeAmount(d);
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

// The lines of the shown document as the lists hold them, with the dialog's boxes in place of the edited
// row. The amount columns are right-aligned with spaces for the screen only; they are stored without.
std::vector<LineCells> linesWithEdit(Ui::Form1& ui, Form5& d, int editedRow) {
    const auto lists = columns(ui);
    const auto texts = boxes(d);
    std::vector<LineCells> lines;
    for (int i = 0; i < ui.List1->count(); ++i) {
        LineCells cells;
        for (int c = 0; c < 5; ++c) {
            const QString t = i == editedRow ? texts[c]->text() : cellText(lists[c], i);
            cells << (c >= 3 ? withoutLeadingSpaces(t) : t);
        }
        lines.push_back(cells);
    }
    return lines;
}

void rewriteShownDocument(Module1& m, Form5& d) {
    Ui::Form1& ui = m.form1->ui;
    const int row = m.CurrentLine;
    if (row < 0 || row >= ui.List1->count()) {
        d.hide();
        return;
    }
    // The dialog stays open while the editor moves on: the lists must still be those of the document
    // the line was taken from, or its text would be written into another document.
    if (d.Tag.isEmpty() || shownNumber(m) != d.Tag || !viewIsOfCurrentKind(m) ||
        d.property(kOpenedView).toString() != m.rsDoc->source()) {
        MsgBox(&d, QStringLiteral("Le document de cette ligne n'est plus affiché : la modification n'a pas "
                                  "été enregistrée."));
        d.hide();
        return;
    }
    bool numbered = false;
    const qint64 number = d.Tag.toLongLong(&numbered);
    QString reason = QStringLiteral("numéro de document illisible");
    const DocKind kind = m.currentKind();
    if (!numbered ||
        !rewriteLines(m.db, kindInfo(kind).linesTable, number, linesWithEdit(ui, d, row), &reason)) {
        // The file keeps the lines it had, and so do the lists; the dialog stays open with the edit.
        MsgBox(&d, QStringLiteral("La modification n'a pas pu être enregistrée : ") + reason);
        return;
    }
    if (auto view = RecordSet::open(m.db, kindInfo(kind).viewSql)) m.rsDoc = std::move(view);
    if (m.rsDoc) m.rsDoc->FindFirst(QStringLiteral("NumFact=") + d.Tag);
    d.hide();
    ShowCurrentDocument(m);
    m.CurrentLine = 0;
}

} // namespace

Form5& lineDialog(Module1& m) {
    if (auto* d = qobject_cast<Form5*>(m.form5.get())) return *d;
    auto* d = new Form5(m);
    m.form5.reset(d);
    Module1* mp = &m;
    const auto texts = boxes(*d);
    for (int box = 1; box <= 5; ++box) {
        onKeyPress(texts[box - 1], [mp, box](int& k) { boxKeyPress(*mp, box, k); });
        // Pasted text follows the rules of the typed one: no line breaks or tabs in a cell, commas in the
        // number boxes, and no cell longer than the designation.
        TextRule cell;
        cell.decimalComma = box == 2 || box == 4 || box == 5;
        cell.maxLength = kDesignMax;
        guardLineEdit(texts[box - 1], cell);
    }
    for (QLineEdit* typed : {d->ui.Text2, d->ui.Text4})
        QObject::connect(typed, &QLineEdit::textChanged, d, [d] { proposeAmount(*d); });
    QObject::connect(d->ui.Command1, &QPushButton::clicked, d, [mp] { Form5_Command1_Click(*mp); });
    QObject::connect(d->ui.Command2, &QPushButton::clicked, d, [mp] { Form5_Command2_Click(*mp); });
    const QScreen* screen = m.form1 ? m.form1->screen() : QGuiApplication::primaryScreen();
    if (screen) d->move(screen->availableGeometry().center() - d->rect().center());
    return *d;
}

void LineColumn_Click(Module1& m, int list) {
    // Selecting a row in the other lists sets off their own clicks: those must not start over.
    static bool inStep = false;
    if (inStep) return;
    inStep = true;
    const auto lists = columns(m.form1->ui);
    const int row = selectedRow(lists[list - 1]);
    for (QListWidget* other : lists) {
        if (other == lists[list - 1] || selectedRow(other) == row) continue;
        if (row < 0)
            other->clearSelection();
        else
            other->setCurrentRow(row);
    }
    inStep = false;
}

void LineColumn_DblClick(Module1& m) {
    Ui::Form1& ui = m.form1->ui;
    const int row = selectedRow(ui.List1);
    if (row < 0) return;
    m.CurrentLine = qint16(row);
    Form5& d = lineDialog(m);
    d.Tag = shownNumber(m);
    d.setProperty(kOpenedView, m.rsDoc ? m.rsDoc->source() : QString());
    const auto lists = columns(ui);
    const auto texts = boxes(d);
    for (int c = 0; c < 5; ++c)
        setQuietly(d, texts[c], cellText(lists[c], row));
    d.show();
    d.raise();
    d.activateWindow();
}

void Form5_Activate(Module1& m) {
    Form5& d = lineDialog(m);
    // The amounts come right-aligned with spaces and a saved empty cell holds one space; the designation
    // keeps its spaces.
    for (QLineEdit* box : {d.ui.Text1, d.ui.Text2, d.ui.Text4, d.ui.Text5})
        setQuietly(d, box, box->text().trimmed());
}

void Form5_Command1_Click(Module1& m) {
    Form5& d = lineDialog(m);
    Ui::Form1& ui = m.form1->ui;
    if (!m.editMode()) {
        rewriteShownDocument(m, d);
        return;
    }
    // During an entry only the lists change: the document is stored when the entry is saved.
    const auto lists = columns(ui);
    const auto texts = boxes(d);
    for (int c = 0; c < 5; ++c)
        if (QListWidgetItem* item = lists[c]->item(m.CurrentLine)) item->setText(texts[c]->text());
    d.hide();
    ui.txtPointeur->setFocus();
    m.CurrentLine = pointerRow(ui);
}

void Form5_Command2_Click(Module1& m) {
    lineDialog(m).hide();
    if (m.editMode()) m.CurrentLine = pointerRow(m.form1->ui);
}

void wireLineDialog(Module1& m) {
    Module1* mp = &m;
    const auto lists = columns(m.form1->ui);
    for (int k = 1; k <= 5; ++k) {
        QObject::connect(lists[k - 1], &QListWidget::itemSelectionChanged, m.form1,
                         [mp, k] { LineColumn_Click(*mp, k); });
        QObject::connect(lists[k - 1], &QListWidget::itemDoubleClicked, m.form1,
                         [mp] { LineColumn_DblClick(*mp); });
    }
}

} // namespace pylon
