#include "browse/list_column.h"

#include "browse/list_rows.h"

namespace pylon {

namespace {

constexpr int kRowsLaidOutAtOnce = 50000;

} // namespace

void ColumnModel::show(std::shared_ptr<ListRows> rows, int column) {
    beginResetModel();
    rows_ = std::move(rows);
    column_ = column;
    endResetModel();
}

int ColumnModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !rows_ ? 0 : rows_->count();
}

QVariant ColumnModel::data(const QModelIndex& index, int role) const {
    if (!rows_ || !index.isValid()) return {};
    if (role == Qt::DisplayRole) return rows_->text(index.row(), column_);
    if (role == Qt::ToolTipRole) {
        const QString tip = rows_->toolTip(index.row(), column_);
        return tip.isEmpty() ? QVariant() : QVariant(tip);
    }
    return {};
}

QModelIndexList ColumnModel::match(const QModelIndex& start, int role, const QVariant& value, int hits,
                                   Qt::MatchFlags flags) const {
    if (rows_ && role == Qt::DisplayRole && hits == 1 && flags == (Qt::MatchStartsWith | Qt::MatchWrap)) {
        if (const auto row = rows_->findStartingWith(column_, value.toString(), start.row()))
            return *row >= 0 ? QModelIndexList{index(*row)} : QModelIndexList{};
    }
    return QAbstractListModel::match(start, role, value, hits, flags);
}

ListColumn::ListColumn(QWidget* parent) : QListView(parent) {
    // Every row is one line of the same height: the view lays out a million rows without asking for any.
    setUniformItemSizes(true);
    // Half a million rows laid out at once hold the window still for a fifth of a second: they are laid out
    // a batch at a time, between other events, the first batch at once.
    setLayoutMode(QListView::Batched);
    setBatchSize(kRowsLaidOutAtOnce);
    setModel(&model_);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &ListColumn::chosenRowChanged);
}

void ListColumn::setRows(std::shared_ptr<ListRows> rows, int column) {
    model_.show(std::move(rows), column);
}

int ListColumn::count() const {
    return model_.rowCount();
}

QString ListColumn::text(int row) const {
    return row >= 0 && row < count() ? model_.data(model_.index(row), Qt::DisplayRole).toString() : QString();
}

QString ListColumn::rowToolTip(int row) const {
    return row >= 0 && row < count() ? model_.data(model_.index(row), Qt::ToolTipRole).toString() : QString();
}

int ListColumn::currentRow() const {
    return currentIndex().row();
}

int ListColumn::ListIndex() const {
    const int row = currentRow();
    return row >= 0 && isRowSelected(row) ? row : -1;
}

void ListColumn::setCurrentRow(int row) {
    setCurrentIndex(model_.index(row));
}

bool ListColumn::isRowSelected(int row) const {
    return selectionModel()->isSelected(model_.index(row));
}

QRect ListColumn::rowRect(int row) const {
    return visualRect(model_.index(row));
}

} // namespace pylon
