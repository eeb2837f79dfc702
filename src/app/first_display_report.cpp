#include "app/first_display_report.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace pylon {

namespace {

// The most memory the process has held since it started, as the kernel counts it ("VmHWM: 37000 kB").
QByteArray peakMemory() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return {};
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.simplified();
    return {};
}

// Waits for the editor's first paint; the report goes out once that paint is over.
class FirstPaint : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            QTimer::singleShot(0, [] {
                std::printf("first display %s\n", peakMemory().constData());
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, e);
    }

  private:
    bool seen_ = false;
};

} // namespace

void reportFirstDisplayIfAsked(QWidget& editor) {
    if (qEnvironmentVariableIsEmpty("PYLON_REPORT_FIRST_DISPLAY")) return;
    editor.installEventFilter(new FirstPaint(&editor));
}

} // namespace pylon
