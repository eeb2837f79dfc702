#pragma once
// The list window: four aligned columns under their headings. It only carries the controls and reports
// a double-click on any column, or Enter typed in one; what the lists hold and what a pick does live in
// the browse handlers.
#include "browse/list_column.h"
#include "ui_Form2.h"
#include "widgets/columns_in_step.h"

#include <QTimer>
#include <QWidget>
#include <array>
#include <memory>

namespace pylon {

class BackgroundRead;

class Form2 : public QWidget {
    Q_OBJECT
  public:
    explicit Form2(QWidget* parent = nullptr);
    ~Form2() override;
    Ui::Form2 ui;
    // The columns from left to right.
    std::array<ListColumn*, 4> columns() const { return {ui.List1, ui.List2, ui.List3, ui.List4}; }
    // The lists let go of the moment of the file they were read at: later reads see the file as it is.
    void releaseRows();
    // While the window shows, a list's moment of the file holds the file's log back: once the log has
    // grown long (looked at every second), the rows are read again at the present moment, the selected
    // number and the scrolling kept.
    void keepRowsFresh();
    // The rows being read on a thread for the list asked for last, when it is long (list_window.h).
    std::unique_ptr<BackgroundRead> pendingRead;

  signals:
    // Anywhere in a column, on a row or below the last one.
    void columnDoubleClicked();
    // Return or the keypad's Enter typed in a column.
    void columnEntered();

  protected:
    void showEvent(QShowEvent* e) override;
    // Off screen, the lists let go of their moment; the next fill takes a new one.
    void hideEvent(QHideEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

  private:
    bool placed_ = false;
    QTimer* logWatch_ = nullptr;
    std::unique_ptr<ColumnsInStep> columnsInStep_;
};

} // namespace pylon
