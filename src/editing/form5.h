#pragma once
// The line edit dialog, "Modification de la facture.". It only carries the five boxes and the two
// buttons and passes its events on to the handlers in line_dialog.cpp.
#include "store/kinds.h"
#include "ui_Form5.h"

#include <QString>
#include <QWidget>

namespace pylon {

struct Module1;

class Form5 : public QWidget {
    Q_OBJECT
  public:
    explicit Form5(Module1& m, QWidget* parent = nullptr);
    Ui::Form5 ui;
    // The number of the document shown when the dialog was opened: the rewrite finds it again by it.
    QString Tag;
    // The line the boxes were filled from, the kind whose lines table holds it, and Module1::linesFilled at
    // that moment: once the editor has filled its lines anew, the row may hold another line or none.
    int row = -1;
    DocKind kind = DocKind::Invoice;
    quint64 filledAt = 0;

  protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    Module1& m_;
};

} // namespace pylon
