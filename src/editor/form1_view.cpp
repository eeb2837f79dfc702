// What the other folders ask of the editor window, each done on its controls here, so that the controls
// can change without the callers knowing.
#include "editor/form1.h"

#include "domain/kinds.h"

#include <QEvent>
#include <QKeyEvent>

namespace pylon {

namespace {

QLineEdit* lineField(const Ui::Form1& ui, EditorField field) {
    switch (field) {
    case EditorField::Number:
        return ui.txtNumFact;
    case EditorField::Date:
        return ui.txtDateFact;
    case EditorField::Client:
        return ui.txtNumCli;
    case EditorField::Name:
        return ui.txtNomCli;
    case EditorField::Pointer:
        return ui.txtPointeur;
    case EditorField::Address:
        break;
    }
    return nullptr;
}

QWidget* fieldWidget(const Ui::Form1& ui, EditorField field) {
    if (field == EditorField::Address) return ui.txtAdrCli;
    return lineField(ui, field);
}

QListWidget* lineColumn(const Ui::Form1& ui, int column) {
    QListWidget* const columns[] = {ui.List1, ui.List2, ui.List3, ui.List4, ui.List5};
    return columns[column];
}

QPushButton* buttonOf(const Ui::Form1& ui, EditorButton button) {
    QPushButton* const buttons[] = {ui.Command1,  ui.Command2,  ui.Command3,  ui.Command4,  ui.Command5,
                                    ui.Command6,  ui.Command7,  ui.Command8,  ui.Command9,  ui.Command10,
                                    ui.Command11, ui.Command12, ui.Command13, ui.Command14, ui.Command15,
                                    ui.Command16, ui.Command17, ui.Command18, ui.Command19};
    return buttons[static_cast<int>(button)];
}

// Tells of every event of one type on the control it watches (its enabling or disabling, its losing the
// keyboard focus), while its owner lives.
class EventWatch : public QObject {
  public:
    EventWatch(QObject* owner, QEvent::Type type, std::function<void()> told)
        : QObject(owner), type_(type), told_(std::move(told)) {}

  protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == type_) told_();
        return false;
    }

  private:
    QEvent::Type type_;
    std::function<void()> told_;
};

// The focus leaving a field, with the reason it left: a click elsewhere, a key, a window.
class FocusOutWatch : public QObject {
  public:
    FocusOutWatch(QObject* owner, std::function<void(Qt::FocusReason)> told)
        : QObject(owner), told_(std::move(told)) {}

  protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::FocusOut) told_(static_cast<QFocusEvent*>(e)->reason());
        return false;
    }

  private:
    std::function<void(Qt::FocusReason)> told_;
};

} // namespace

void Form1::showHeader(const ShownHeader& header) {
    ui.txtNumFact->setText(header.number);
    ui.txtDateFact->setText(header.date);
    showClient(header.client);
}

void Form1::showClient(const ShownClient& client) {
    ui.txtNumCli->setText(client.number);
    ui.txtNomCli->setText(client.name);
    ui.txtAdrCli->setPlainText(client.address);
    ui.Check1->setChecked(client.onAccount);
}

void Form1::clearClient() {
    ui.txtNumCli->clear();
    ui.txtNomCli->clear();
    ui.txtAdrCli->clear();
    ui.Check1->setChecked(false);
}

ShownHeader Form1::typedHeader() const {
    return {
        ui.txtNumFact->text(),
        ui.txtDateFact->text(),
        {ui.txtNumCli->text(), ui.txtNomCli->text(), ui.txtAdrCli->toPlainText(), ui.Check1->isChecked()}};
}

QString Form1::fieldText(EditorField field) const {
    if (field == EditorField::Address) return ui.txtAdrCli->toPlainText();
    return lineField(ui, field)->text();
}

void Form1::setFieldText(EditorField field, const QString& text) {
    if (field == EditorField::Address)
        ui.txtAdrCli->setPlainText(text);
    else
        lineField(ui, field)->setText(text);
}

void Form1::clearField(EditorField field) {
    if (field == EditorField::Address)
        ui.txtAdrCli->clear();
    else
        lineField(ui, field)->clear();
}

void Form1::focusField(EditorField field) {
    fieldWidget(ui, field)->setFocus();
}

void Form1::allowOnAccountChange(bool allowed) {
    ui.Check1->setEnabled(allowed);
}

void Form1::showMarkers(bool creditNoteAttached, bool cancelled) {
    ui.Label15->setVisible(creditNoteAttached);
    ui.Label17->setVisible(cancelled);
}

void Form1::showCaptions(const KindCaptions& c) {
    setWindowTitle(c.title);
    ui.Command7->setText(c.command7);
    ui.Command9->setText(c.command9);
    ui.Label7->setText(c.label7);
    ui.Label1->setText(c.label1);
    ui.Label2->setText(c.label2);
    ui.Label3->setText(c.label3);
    ui.Label4->setText(c.label4);
}

void Form1::showLineColumns(const LineColumnTexts& columns) {
    for (int c = 0; c < kLineColumns; ++c) {
        QListWidget* list = lineColumn(ui, c);
        list->clear();
        list->addItems(columns[size_t(c)]);
    }
}

void Form1::clearLines() {
    for (int c = 0; c < kLineColumns; ++c)
        lineColumn(ui, c)->clear();
}

void Form1::appendLine(const QStringList& cells) {
    for (int c = 0; c < kLineColumns; ++c)
        lineColumn(ui, c)->addItem(cells.value(c));
}

std::vector<QStringList> Form1::shownLines() const {
    std::vector<QStringList> lines;
    for (int row = 0; row < lineCount(); ++row) {
        QStringList cells;
        for (int c = 0; c < kLineColumns; ++c)
            cells << cellText(c, row);
        lines.push_back(cells);
    }
    return lines;
}

int Form1::lineCount() const {
    return columnRows(0);
}

int Form1::columnRows(int column) const {
    return lineColumn(ui, column)->count();
}

QString Form1::cellText(int column, int row) const {
    const QListWidgetItem* item = lineColumn(ui, column)->item(row);
    return item ? item->text() : QString();
}

void Form1::setCellText(int column, int row, const QString& text) {
    if (QListWidgetItem* item = lineColumn(ui, column)->item(row)) item->setText(text);
}

void Form1::insertCell(int column, int row, const QString& text) {
    lineColumn(ui, column)->insertItem(row, text);
}

void Form1::removeLine(int row) {
    for (int c = 0; c < kLineColumns; ++c)
        delete lineColumn(ui, c)->takeItem(row);
}

int Form1::selectedRow(int column) const {
    const QModelIndexList selected = lineColumn(ui, column)->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void Form1::selectRow(int column, int row) {
    QListWidget* list = lineColumn(ui, column);
    if (row < 0)
        list->clearSelection();
    else
        list->setCurrentRow(row);
}

void Form1::placePointer(int left, int top, int width) {
    ui.txtPointeur->setGeometry(left, top, width, ui.txtPointeur->height());
}

void Form1::showPointer() {
    ui.txtPointeur->show();
}

void Form1::hidePointer() {
    ui.txtPointeur->hide();
}

void Form1::showTotals(const QString& ht, const QString& tva, const QString& ttc) {
    ui.txtTotalHT->setText(ht);
    ui.txtTVA->setText(tva);
    ui.txtTotalTTC->setText(ttc);
}

void Form1::showWords(const QString& words) {
    ui.txtSomme->setPlainText(words);
}

void Form1::clearWords() {
    ui.txtSomme->clear();
}

void Form1::enableEntryButtons(bool enabled) {
    ui.Command6->setEnabled(enabled);
    ui.Command10->setEnabled(enabled);
}

void Form1::enableMonthEnd(bool enabled) {
    ui.Command16->setEnabled(enabled);
}

void Form1::focusSaveButton() {
    ui.Command6->setFocus();
}

void Form1::onButton(EditorButton button, std::function<void()> clicked) {
    connect(buttonOf(ui, button), &QPushButton::clicked, this, [clicked = std::move(clicked)] { clicked(); });
}

void Form1::onFieldKeyPress(EditorField field, KeyPressHandler handler) {
    onKeyPress(fieldWidget(ui, field), std::move(handler));
}

namespace {

// The Suppr key in a line column asks for its selected row to be deleted. (A right click on the lines
// opens the editor's own menu, as it always has.)
class DeleteKey : public QObject {
  public:
    DeleteKey(QListWidget* list, std::function<void(int)> asked)
        : QObject(list), list_(list), asked_(asked) {}

  protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(e)->key() != Qt::Key_Delete)
            return false;
        if (list_->currentRow() >= 0) asked_(list_->currentRow());
        return true;
    }

  private:
    QListWidget* list_;
    std::function<void(int)> asked_;
};

} // namespace

std::optional<int> Form1::lineRowAt(const QPoint& at) const {
    for (int c = 0; c < kLineColumns; ++c) {
        const QListWidget* list = lineColumn(ui, c);
        const QPoint inView = list->viewport()->mapFrom(this, at);
        if (!list->viewport()->rect().contains(inView)) continue;
        if (const QListWidgetItem* item = list->itemAt(inView)) return list->row(item);
    }
    return std::nullopt;
}

void Form1::onLineDeleteAsked(std::function<void(int row)> asked) {
    for (int c = 0; c < kLineColumns; ++c) {
        QListWidget* list = lineColumn(ui, c);
        list->installEventFilter(new DeleteKey(list, asked));
    }
}

void Form1::onFieldLeft(EditorField field, std::function<void(bool forOnAccountClick)> left) {
    QWidget* w = fieldWidget(ui, field);
    // The focus has already moved when the field hears it has lost it.
    w->installEventFilter(new FocusOutWatch(w, [this, left = std::move(left)](Qt::FocusReason reason) {
        left(reason == Qt::MouseFocusReason && ui.Check1->hasFocus());
    }));
}

void Form1::onLineSelectionChanged(int column, std::function<void()> changed) {
    connect(lineColumn(ui, column), &QListWidget::itemSelectionChanged, this, std::move(changed));
}

void Form1::onLineDoubleClicked(int column, std::function<void()> doubleClicked) {
    connect(lineColumn(ui, column), &QListWidget::itemDoubleClicked, this,
            [doubleClicked = std::move(doubleClicked)] { doubleClicked(); });
}

void Form1::onEntryButtonsEnabledChange(QObject* context, std::function<void()> changed) {
    // "&Annuler" is enabled exactly during an entry, together with "&Valider": watching one is enough.
    ui.Command10->installEventFilter(new EventWatch(context, QEvent::EnabledChange, std::move(changed)));
}

void Form1::guardField(EditorField field, const TextRule& rule) {
    if (field == EditorField::Address)
        guardPlainTextEdit(ui.txtAdrCli, rule);
    else
        guardLineEdit(lineField(ui, field), rule);
}

void Form1::guardPointer(std::function<TextRule()> rule) {
    guardLineEdit(ui.txtPointeur, std::move(rule));
}

} // namespace pylon
