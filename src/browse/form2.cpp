#include "browse/form2.h"

#include "browse/list_rows.h"
#include "store/background_read.h"
#include "widgets/window_keys.h"

#include <QEvent>
#include <QKeyEvent>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>

namespace pylon {

Form2::Form2(QWidget* parent) : QWidget(parent) {
    ui.setupUi(this);
    closeOnEscape(*this);
    // The type column only shows with the document list, which brings it up itself.
    ui.List4->hide();
    ui.Label4->hide();
    // Watched on the viewports rather than through itemDoubleClicked, so that a double-click below the
    // last row counts too: the pick then works on whatever row is selected, or on none.
    // The keys go to the column itself, which has the focus, not to its viewport.
    for (ListColumn* list : columns()) {
        list->viewport()->installEventFilter(this);
        list->installEventFilter(this);
    }
    // Row i of every column is one record: the columns scroll as one.
    const auto c = columns();
    columnsInStep_ = std::make_unique<ColumnsInStep>(std::vector<QAbstractItemView*>(c.begin(), c.end()));
    // A look at the size of a file each second; the rows are read again only when the log is long.
    logWatch_ = new QTimer(this);
    logWatch_->setObjectName(QStringLiteral("logWatch"));
    logWatch_->setInterval(1000);
    connect(logWatch_, &QTimer::timeout, this, &Form2::keepRowsFresh);
}

Form2::~Form2() = default;

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
    logWatch_->start();
    QWidget::showEvent(e);
}

void Form2::releaseRows() {
    for (ListColumn* list : columns())
        if (ListRows* rows = list->rows()) rows->release();
}

void Form2::keepRowsFresh() {
    ListRows* rows = ui.List1->rows();
    if (!rows || !rows->logOutgrown()) return;
    const int chosen = ui.List1->ListIndex();
    const QString number = ui.List1->text(chosen);
    const int top = ui.List1->verticalScrollBar()->value();
    rows->renew();
    // Every column over these rows shows them again, in the same event: nothing is painted in between.
    std::shared_ptr<ListRows> shared = ui.List1->sharedRows();
    for (ListColumn* list : columns()) {
        if (list->rows() != rows) continue;
        const QSignalBlocker quiet(list);
        list->setRows(shared, list->column());
    }
    if (chosen >= 0) {
        const int row = rows->rowOfText(number);
        for (ListColumn* list : columns()) {
            if (list->rows() != rows || row < 0 || row >= list->count()) continue;
            const QSignalBlocker quiet(list);
            list->setCurrentRow(row);
        }
    }
    ui.List1->verticalScrollBar()->setValue(top);
}

void Form2::hideEvent(QHideEvent* e) {
    logWatch_->stop();
    // Rows read for a window no longer shown would hold the file's moment for nobody.
    pendingRead.reset();
    releaseRows();
    QWidget::hideEvent(e);
}

bool Form2::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::MouseButtonDblClick) emit columnDoubleClicked();
    if (e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            emit columnEntered();
            return true;
        }
    }
    return QWidget::eventFilter(watched, e);
}

} // namespace pylon
