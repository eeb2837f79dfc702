#pragma once
// The documents a search found, as the search window's table shows them: number, date, kind, client, total
// with tax, cancelled, credit note. Sorted by any column on request, newest first within equal values.
#include "figures/document_search.h"

#include <QAbstractTableModel>
#include <vector>

namespace pylon {

class FoundDocuments : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column { Number, Date, Kind, Client, Total, Cancelled, CreditNote, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    // Replaces the rows, sorted as last asked.
    void setDocuments(std::vector<FoundDocument> documents);
    const FoundDocument* document(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;

  private:
    void sortRows();

    std::vector<FoundDocument> rows_;
    int sortColumn_ = Date;
    Qt::SortOrder sortOrder_ = Qt::DescendingOrder;
};

} // namespace pylon
