#pragma once
// The document editor window. It only carries the controls and passes its events on to the handlers;
// what the events do lives with each feature.
#include "ui_Form1.h"

#include <QWidget>

namespace pylon {

struct Module1;

class Form1 : public QWidget {
    Q_OBJECT
  public:
    explicit Form1(Module1& m, QWidget* parent = nullptr);
    Ui::Form1 ui;

  protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    Module1& m_;
    bool unloaded_ = false;
};

} // namespace pylon
