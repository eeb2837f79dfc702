#include "widgets/activation.h"

#include <QApplication>
#include <QApplicationStateChangeEvent>
#include <QDialog>
#include <QEvent>
#include <QPointer>

namespace pylon {

namespace {

// Marks a window that has been active once: its first activation always counts.
const char* const kActivatedBefore = "pylonActivatedBefore";

// Whether the window activated before the current one was a dialog box (message, input, file...). Our
// own windows are plain widgets, so only the boxes are QDialogs.
bool g_previousWasDialog = false;
bool g_currentIsDialog = false;
// Whether the application had lost the keyboard to another program before the current activation.
bool g_awaySinceLastActivation = false;
bool g_currentFollowsAway = false;

class ActivationWatcher : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* o, QEvent* e) override {
        // Qt says so when none of the application's windows is active any more: another program has the
        // keyboard. It says Active again just before the window the user comes back to is activated.
        if (e->type() == QEvent::ApplicationStateChange &&
            static_cast<QApplicationStateChangeEvent*>(e)->applicationState() != Qt::ApplicationActive)
            g_awaySinceLastActivation = true;
        if (e->type() == QEvent::WindowActivate && o->isWidgetType() &&
            static_cast<QWidget*>(o)->isWindow()) {
            g_previousWasDialog = g_currentIsDialog;
            g_currentIsDialog = qobject_cast<QDialog*>(o) != nullptr;
            g_currentFollowsAway = g_awaySinceLastActivation;
            g_awaySinceLastActivation = false;
        }
        return false;
    }
};

} // namespace

void watchActivations() {
    static QPointer<ActivationWatcher> watcher;
    if (!watcher) {
        watcher = new ActivationWatcher(qApp);
        qApp->installEventFilter(watcher);
    }
}

bool isUserActivation(QWidget* window) {
    const bool first = !window->property(kActivatedBefore).toBool();
    window->setProperty(kActivatedBefore, true);
    return first || (!g_previousWasDialog && !g_currentFollowsAway);
}

} // namespace pylon
