#include "widgets/key_press.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace pylon {

namespace {

// Backspace and Enter act by their key, every other replacement by the character it types.
int keyFor(int code) {
    if (code == 8) return Qt::Key_Backspace;
    if (code == 13) return Qt::Key_Return;
    return 0;
}

class KeyPressFilter : public QObject {
  public:
    KeyPressFilter(QWidget* w, KeyPressHandler h) : QObject(w), widget_(w), handler_(std::move(h)) {}

    bool eventFilter(QObject* o, QEvent* e) override {
        if (o != widget_ || e->type() != QEvent::KeyPress || replaying_) return false;
        auto* key = static_cast<QKeyEvent*>(e);
        int code = 0;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            code = 13;
        else if (key->key() == Qt::Key_Backspace)
            code = 8;
        else if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab ||
                 (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) || key->text().isEmpty() ||
                 !key->text()[0].isPrint())
            return false;
        else
            code = key->text()[0].unicode();
        const int original = code;
        handler_(code);
        if (code == 0) return true;
        if (code == original) return false;
        // Type the replacement instead of the key pressed.
        QKeyEvent replacement(QEvent::KeyPress, keyFor(code), key->modifiers(),
                              code == 8 || code == 13 ? QString() : QString(QChar(code)));
        replaying_ = true;
        QCoreApplication::sendEvent(widget_, &replacement);
        replaying_ = false;
        return true;
    }

  private:
    QWidget* widget_;
    KeyPressHandler handler_;
    bool replaying_ = false;
};

} // namespace

void onKeyPress(QWidget* widget, KeyPressHandler handler) {
    widget->installEventFilter(new KeyPressFilter(widget, std::move(handler)));
}

} // namespace pylon
