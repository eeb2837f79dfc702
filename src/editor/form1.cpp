#include "editor/form1.h"

#include "editor/session.h"
#include "widgets/activation.h"

#include <QCloseEvent>
#include <QPushButton>
#include <QScrollBar>

namespace pylon {

Form1::Form1(Session& m, QWidget* parent) : QWidget(parent), m_(m) {
    ui.setupUi(this);
    m_.form1 = this;
    // Row i of the five columns is one line of the document: they scroll as one table.
    columnsInStep_ = std::make_unique<ColumnsInStep>(
        std::vector<QAbstractItemView*>{ui.List1, ui.List2, ui.List3, ui.List4, ui.List5});
    showLinesScrollBar();
    // The total boxes can be typed into: what the user types there is what the next line adds to.
    const std::pair<QLineEdit*, Module1::ShownTotal Module1::ShownTotals::*> totals[] = {
        {ui.txtTotalHT, &Module1::ShownTotals::ht},
        {ui.txtTVA, &Module1::ShownTotals::tva},
        {ui.txtTotalTTC, &Module1::ShownTotals::ttc}};
    for (const auto& [box, total] : totals)
        connect(box, &QLineEdit::textEdited, this,
                [this, total](const QString& text) { m_.totals.*total = Module1::ShownTotal::of(text); });
    // The header's fields and the pointer can be typed into: the document on screen changes with them.
    // Every change is followed, the program's own too, which the program has made in the data already.
    const std::pair<QLineEdit*, QString*> fields[] = {{ui.txtNumFact, &m_.header.number},
                                                      {ui.txtDateFact, &m_.header.date},
                                                      {ui.txtNumCli, &m_.header.client.number},
                                                      {ui.txtNomCli, &m_.header.client.name},
                                                      {ui.txtPointeur, &m_.pointerText}};
    // The text is read from the box, not from the signal: a paste guard that cleans the text sets it again
    // while the first change is still being told, which then comes last with the text before cleaning.
    for (const auto& [box, text] : fields)
        connect(box, &QLineEdit::textChanged, this, [box, text] { *text = box->text(); });
    connect(ui.txtAdrCli, &QPlainTextEdit::textChanged, this,
            [this] { m_.header.client.address = ui.txtAdrCli->toPlainText(); });
    connect(ui.Check1, &QCheckBox::toggled, this, [this](bool on) { m_.header.client.onAccount = on; });
}

// The columns have no scroll bar of their own (each would take width from its cells): one thin bar in the
// margin right of the amounts moves the five together, and shows only when the lines go past the bottom,
// so that a long document says that more lines follow.
void Form1::showLinesScrollBar() {
    auto* bar = new QScrollBar(Qt::Vertical, this);
    bar->setObjectName(QStringLiteral("LinesScrollBar"));
    const QRect amounts = ui.List5->geometry();
    bar->setGeometry(amounts.right() + 1, amounts.top(), width() - amounts.right() - 1, amounts.height());
    bar->hide();
    QScrollBar* lead = ui.List1->verticalScrollBar();
    connect(lead, &QScrollBar::rangeChanged, bar, [bar](int min, int max) {
        bar->setRange(min, max);
        bar->setVisible(max > min);
    });
    connect(lead, &QScrollBar::valueChanged, bar, &QScrollBar::setValue);
    connect(bar, &QScrollBar::valueChanged, lead, &QScrollBar::setValue);
    connect(bar, &QScrollBar::rangeChanged, bar, [bar, lead] { bar->setPageStep(lead->pageStep()); });
}

QList<QRect> Form1::areasToKeepClear() const {
    QList<QRect> areas;
    const auto onScreen = [&areas](const QWidget* w) {
        areas << QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
    };
    for (const QWidget* total :
         {static_cast<const QWidget*>(ui.txtTotalHT), static_cast<const QWidget*>(ui.txtTVA),
          static_cast<const QWidget*>(ui.txtTotalTTC), static_cast<const QWidget*>(ui.txtSomme)})
        onScreen(total);
    for (const QPushButton* button : findChildren<QPushButton*>())
        if (button->isVisible() && button->window() == this) onScreen(button); // not a notice's own
    return areas;
}

bool Form1::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate && isUserActivation(this)) {
        const bool handled = QWidget::event(e);
        if (activated) activated();
        return handled;
    }
    return QWidget::event(e);
}

void Form1::closeEvent(QCloseEvent* e) {
    if (!unloaded_) {
        unloaded_ = true;
        if (unloading) unloading();
    }
    e->accept();
}

} // namespace pylon
