#pragma once
// The document editor window. It only carries the controls and passes its events on to the handlers;
// what the events do lives with each feature.
#include "editor/columns_in_step.h"
#include "ui_Form1.h"

#include <QWidget>
#include <functional>
#include <memory>

namespace pylon {

struct Session;

class Form1 : public QWidget {
    Q_OBJECT
  public:
    explicit Form1(Session& m, QWidget* parent = nullptr);
    Ui::Form1 ui;
    // What the window's own events set off, given by the start-up code that owns the run: each time the
    // user comes back to the editor from another of the program's windows, and once when it is closed.
    std::function<void()> activated, unloading;

  protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    Session& m_;
    bool unloaded_ = false;
    std::unique_ptr<ColumnsInStep> columnsInStep_;
};

} // namespace pylon
