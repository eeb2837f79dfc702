#pragma once
// One column of the list window: a view over one column of a list's rows, which asks for the texts of
// the rows it shows only. It also answers what the program and its tests ask of a list box: its count,
// the text of row i, and the selected row (ListIndex).
#include <QAbstractListModel>
#include <QListView>
#include <memory>

namespace pylon {

class ListRows;

class ColumnModel : public QAbstractListModel {
    Q_OBJECT
  public:
    using QAbstractListModel::QAbstractListModel;
    void show(std::shared_ptr<ListRows> rows, int column);
    ListRows* rows() const { return rows_.get(); }
    const std::shared_ptr<ListRows>& sharedRows() const { return rows_; }
    int column() const { return column_; }
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // Typing in a column looks for the next row that starts with what was typed: where the rows allow it,
    // without reading every row of the file on the way.
    QModelIndexList match(const QModelIndex& start, int role, const QVariant& value, int hits,
                          Qt::MatchFlags flags) const override;

  private:
    std::shared_ptr<ListRows> rows_;
    int column_ = 0;
};

class ListColumn : public QListView {
    Q_OBJECT
  public:
    explicit ListColumn(QWidget* parent = nullptr);

    // Shows one column of the rows, from the top and with no row selected; null rows empty it. A column
    // that keeps its rows while others change keeps its own, whatever the others show.
    void setRows(std::shared_ptr<ListRows> rows, int column);
    ListRows* rows() const { return model_.rows(); }
    const std::shared_ptr<ListRows>& sharedRows() const { return model_.sharedRows(); }
    // Which column of the rows it shows.
    int column() const { return model_.column(); }

    int count() const;
    // The text of a row; empty for none.
    QString text(int row) const;
    QString rowToolTip(int row) const;
    // The selected row, -1 when none is: a row that is current without being chosen does not count.
    int ListIndex() const;
    int currentRow() const;
    // Makes the row current and chosen, as a click on it does.
    void setCurrentRow(int row);
    bool isRowSelected(int row) const;
    // Where the row stands in the viewport.
    QRect rowRect(int row) const;

  signals:
    // The chosen row changed, by the user or the program.
    void chosenRowChanged();

  private:
    ColumnModel model_;
};

} // namespace pylon
