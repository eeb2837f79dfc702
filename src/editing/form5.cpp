#include "editing/form5.h"

#include "widgets/window_keys.h"

#include "editing/line_dialog.h"

#include <QCloseEvent>

namespace pylon {

Form5::Form5(Session& m, QWidget* parent) : QWidget(parent), m_(m) {
    ui.setupUi(this);
    closeOnEscape(*this);
    // The boxes have no length of their own: a stored cell is shown whole, however long. What the user may
    // type or paste into each is limited where the boxes are guarded.
}

bool Form5::event(QEvent* e) {
    const bool handled = QWidget::event(e);
    if (e->type() == QEvent::WindowActivate) Form5_Activate(m_);
    return handled;
}

void Form5::closeEvent(QCloseEvent* e) {
    // The window is made once and reused: the close box puts it away as "&Annuler" does, so that an
    // entry in progress goes on at the line under the pointer.
    if (isVisible()) putLineDialogAway(m_);
    hide();
    e->ignore();
}

} // namespace pylon
