#pragma once
// The line edit dialog, "Modification de la facture.". It only carries the five boxes and the two
// buttons and passes its events on to the handlers in line_dialog.cpp.
#include "ui_Form5.h"

#include <QString>
#include <QWidget>

namespace pylon {

struct Session;

class Form5 : public QWidget {
    Q_OBJECT
  public:
    explicit Form5(Session& m, QWidget* parent = nullptr);
    Ui::Form5 ui;

  protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    Session& m_;
};

} // namespace pylon
