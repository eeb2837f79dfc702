#pragma once
// Side-by-side lists whose row i belongs to one record (the editor's line columns, the list window's
// columns). Scrolled one by one, a row on screen would pair one record's cell with another's.
#include <QMetaObject>
#include <vector>

class QAbstractItemView;

namespace pylon {

// While it lives, the lists scroll as one: a wheel turn, a key, type-ahead or a row brought into view in
// any of them moves the others to the same offset. Emptying any of them, which each new fill begins
// with, brings them all back to the top. The window that holds the lists keeps it as a member, so that
// it lets go of them before they are destroyed.
class ColumnsInStep {
  public:
    explicit ColumnsInStep(std::vector<QAbstractItemView*> lists);
    ~ColumnsInStep();
    ColumnsInStep(const ColumnsInStep&) = delete;
    ColumnsInStep& operator=(const ColumnsInStep&) = delete;

  private:
    void follow(const QAbstractItemView* leader, int value);

    std::vector<QAbstractItemView*> lists_;
    std::vector<QMetaObject::Connection> links_;
    bool moving_ = false;
};

} // namespace pylon
