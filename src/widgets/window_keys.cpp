#include "widgets/window_keys.h"

#include <QShortcut>

namespace pylon {

void closeOnEscape(QWidget& window) {
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), &window);
    QObject::connect(escape, &QShortcut::activated, &window, [&window] { window.close(); });
}

void onEnter(QWidget& window, const std::function<void()>& action) {
    // The keypad's Enter is a key of its own.
    for (const int key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* enter = new QShortcut(QKeySequence(key), &window);
        QObject::connect(enter, &QShortcut::activated, &window, action);
    }
}

} // namespace pylon
