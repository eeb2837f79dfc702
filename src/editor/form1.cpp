#include "editor/form1.h"

#include "editor/activation.h"
#include "editor/session.h"

#include <QCloseEvent>

namespace pylon {

Form1::Form1(Session& m, QWidget* parent) : QWidget(parent), m_(m) {
    ui.setupUi(this);
    m_.form1 = this;
    // Row i of the five columns is one line of the document: they scroll as one table.
    columnsInStep_ = std::make_unique<ColumnsInStep>(
        std::vector<QAbstractItemView*>{ui.List1, ui.List2, ui.List3, ui.List4, ui.List5});
    // The total boxes can be typed into: what the user types there is what the next line adds to.
    const std::pair<QLineEdit*, Module1::ShownTotal Module1::ShownTotals::*> totals[] = {
        {ui.txtTotalHT, &Module1::ShownTotals::ht},
        {ui.txtTVA, &Module1::ShownTotals::tva},
        {ui.txtTotalTTC, &Module1::ShownTotals::ttc}};
    for (const auto& [box, total] : totals)
        connect(box, &QLineEdit::textEdited, this,
                [this, total](const QString& text) { m_.totals.*total = Module1::ShownTotal::of(text); });
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
