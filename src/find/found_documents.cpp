#include "find/found_documents.h"

#include "domain/dates.h"
#include "domain/kinds.h"

#include <QCollator>
#include <algorithm>

namespace pylon {

namespace {

QString kindText(const FoundDocument& d) {
    return d.kind ? kindInfo(*d.kind).name : d.typeFact;
}

QString dateText(const FoundDocument& d) {
    return d.date ? dates::toScreen(*d.date) : d.storedDate;
}

QString clientText(const FoundDocument& d) {
    return QStringLiteral("%1 (%2)").arg(d.name, d.client.toString());
}

// Newest first: the order the search gives, kept between rows a sorted column finds equal.
bool newer(const FoundDocument& a, const FoundDocument& b) {
    if (a.storedDate != b.storedDate) return a.storedDate > b.storedDate;
    return a.number > b.number;
}

} // namespace

void FoundDocuments::setDocuments(std::vector<FoundDocument> documents) {
    beginResetModel();
    rows_ = std::move(documents);
    sortRows();
    endResetModel();
}

const FoundDocument* FoundDocuments::document(int row) const {
    return row >= 0 && row < int(rows_.size()) ? &rows_[size_t(row)] : nullptr;
}

int FoundDocuments::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int FoundDocuments::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant FoundDocuments::data(const QModelIndex& index, int role) const {
    const FoundDocument* d = document(index.row());
    if (!d) return {};
    if (role == Qt::TextAlignmentRole)
        return index.column() == Number || index.column() == Total ? int(Qt::AlignRight | Qt::AlignVCenter)
                                                                   : int(Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
    case Number:
        return QString::number(d->number);
    case Date:
        return dateText(*d);
    case Kind:
        return kindText(*d);
    case Client:
        return clientText(*d);
    case Total:
        // A total beyond the range of amounts cannot be shown truly.
        return d->total ? formatAmount(*d->total) : QStringLiteral("?");
    case Cancelled:
        return d->cancelled ? QStringLiteral("Annulée") : QString();
    case CreditNote:
        return d->hasCreditNote ? QStringLiteral("Avoir") : QString();
    default:
        return {};
    }
}

QVariant FoundDocuments::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const titles[] = {"Numéro", "Date", "Nature", "Client", "T.T.C.", "Annulée", "Avoir"};
    return section >= 0 && section < ColumnCount ? QString::fromUtf8(titles[section]) : QVariant();
}

void FoundDocuments::sort(int column, Qt::SortOrder order) {
    sortColumn_ = column;
    sortOrder_ = order;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    sortRows();
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void FoundDocuments::sortRows() {
    QCollator names;
    names.setCaseSensitivity(Qt::CaseInsensitive);
    names.setNumericMode(true);
    // -1, 0 or 1 for a before, as b, after b, in ascending order of the column.
    const auto compare = [&](const FoundDocument& a, const FoundDocument& b) -> int {
        switch (sortColumn_) {
        case Number:
            return a.number < b.number ? -1 : a.number > b.number;
        case Date:
            return a.storedDate < b.storedDate ? -1 : a.storedDate > b.storedDate;
        case Kind:
            return names.compare(kindText(a), kindText(b));
        case Client:
            return names.compare(clientText(a), clientText(b));
        case Total: {
            const qint64 x = a.total ? a.total->tenThousandths() : std::numeric_limits<qint64>::min();
            const qint64 y = b.total ? b.total->tenThousandths() : std::numeric_limits<qint64>::min();
            return x < y ? -1 : x > y;
        }
        case Cancelled:
            return int(a.cancelled) - int(b.cancelled);
        case CreditNote:
            return int(a.hasCreditNote) - int(b.hasCreditNote);
        default:
            return 0;
        }
    };
    std::stable_sort(rows_.begin(), rows_.end(), [&](const FoundDocument& a, const FoundDocument& b) {
        const int c = compare(a, b);
        if (c != 0) return sortOrder_ == Qt::AscendingOrder ? c < 0 : c > 0;
        return newer(a, b);
    });
}

} // namespace pylon
