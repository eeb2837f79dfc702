#pragma once
// The main menu window. It only carries the options and the two buttons and passes its events on to the
// menu handlers; which kind each option stands for and what launching does live in menu.cpp.
#include "ui_Form4.h"

#include <QWidget>

namespace pylon {

struct Session;

class Form4 : public QWidget {
    Q_OBJECT
  public:
    explicit Form4(Session& m, QWidget* parent = nullptr);
    Ui::Form4 ui;
    // The option selected when the menu last became active (0 until then): what "&Annuler" goes back to.
    int MenuKind = 0;

  protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    Session& m_;
};

} // namespace pylon
