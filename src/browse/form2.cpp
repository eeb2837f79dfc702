#include "browse/form2.h"

#include "browse/list_rows.h"
#include "editor/window_keys.h"

#include <QEvent>
#include <QScreen>

namespace pylon {

Form2::Form2(QWidget* parent) : QWidget(parent) {
    ui.setupUi(this);
    closeOnEscape(*this);
    // The type column only shows with the document list, which brings it up itself.
    ui.List4->hide();
    ui.Label4->hide();
    // Watched on the viewports rather than through itemDoubleClicked, so that a double-click below the
    // last row counts too: the pick then works on whatever row is selected, or on none.
    for (ListColumn* list : columns())
        list->viewport()->installEventFilter(this);
    // Row i of every column is one record: the columns scroll as one.
    const auto c = columns();
    columnsInStep_ = std::make_unique<ColumnsInStep>(std::vector<QAbstractItemView*>(c.begin(), c.end()));
}

void Form2::showEvent(QShowEvent* e) {
    // Centred the first time only: after that the window opens where the user left it.
    if (!placed_) {
        placed_ = true;
        if (const QScreen* s = screen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(s->availableGeometry().center());
            move(frame.topLeft());
        }
    }
    QWidget::showEvent(e);
}

void Form2::releaseRows() {
    for (ListColumn* list : columns())
        if (ListRows* rows = list->rows()) rows->release();
}

void Form2::hideEvent(QHideEvent* e) {
    releaseRows();
    QWidget::hideEvent(e);
}

bool Form2::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseButtonDblClick) emit columnDoubleClicked();
    return QWidget::eventFilter(watched, e);
}

} // namespace pylon
