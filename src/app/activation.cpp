#include "app/activation.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QPointer>

namespace pylon {

namespace {

// Whether the window activated before the current one was a dialog box (message, input, file...). Our
// own windows are plain widgets, so only the boxes are QDialogs.
bool g_previousWasDialog = false;
bool g_currentIsDialog = false;

class ActivationWatcher : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::WindowActivate && o->isWidgetType() &&
            static_cast<QWidget*>(o)->isWindow()) {
            g_previousWasDialog = g_currentIsDialog;
            g_currentIsDialog = qobject_cast<QDialog*>(o) != nullptr;
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

bool isUserActivation(QWidget*) {
    return !g_previousWasDialog;
}

} // namespace pylon
