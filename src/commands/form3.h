#pragma once
// The author box: who made the program and what it is. A click on the box itself, on its first picture or
// on one of its six information labels puts it away; it is hidden, not destroyed, so "A&uteur" shows the
// same window again.
#include "ui_Form3.h"

#include <QWidget>

namespace pylon {

class Form3 : public QWidget {
    Q_OBJECT
  public:
    explicit Form3(QWidget* parent = nullptr);
    Ui::Form3 ui;

  protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

  private:
    bool hidesTheBox(const QWidget* clicked) const;
};

} // namespace pylon
