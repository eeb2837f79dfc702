#include "widgets/columns_in_step.h"

#include <QAbstractItemView>
#include <QScrollBar>

namespace pylon {

ColumnsInStep::ColumnsInStep(std::vector<QAbstractItemView*> lists) : lists_(std::move(lists)) {
    for (QAbstractItemView* list : lists_) {
        links_.push_back(QObject::connect(list->verticalScrollBar(), &QScrollBar::valueChanged,
                                          [this, list](int value) { follow(list, value); }));
        // A fill clears its columns first; the offset of the previous rows means nothing for the new ones.
        links_.push_back(
            QObject::connect(list->model(), &QAbstractItemModel::modelReset, [this] { follow(nullptr, 0); }));
    }
}

ColumnsInStep::~ColumnsInStep() {
    for (const QMetaObject::Connection& link : links_)
        QObject::disconnect(link);
}

// Moves every list but the leader to the offset. A list too short to reach it stops at its end; it does
// not pull the others back, so that a shorter column never keeps the user from the last rows.
void ColumnsInStep::follow(const QAbstractItemView* leader, int value) {
    if (moving_) return;
    moving_ = true;
    for (QAbstractItemView* list : lists_)
        if (list != leader) list->verticalScrollBar()->setValue(value);
    moving_ = false;
}

} // namespace pylon
