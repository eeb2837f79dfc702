#include "editor/form4.h"

#include "editor/menu.h"

#include <QCloseEvent>

namespace pylon {

Form4::Form4(Session& m, QWidget* parent) : QWidget(parent), m_(m) {
    ui.setupUi(this);
    // Each option's id in the group is its number, which is also the number of its kind.
    QRadioButton* options[] = {ui.Option1, ui.Option2, ui.Option3, ui.Option4, ui.Option5, ui.Option6};
    for (int n = 1; n <= 6; ++n)
        ui.Options->setId(options[n - 1], n);
}

bool Form4::event(QEvent* e) {
    const bool handled = QWidget::event(e);
    if (e->type() == QEvent::WindowActivate) Form4_Activate(m_);
    return handled;
}

void Form4::closeEvent(QCloseEvent* e) {
    // The selection is the kind the whole program works on: the close box only puts the menu away, as
    // "&Annuler" would, but keeps whatever is selected.
    hide();
    e->ignore();
}

} // namespace pylon
