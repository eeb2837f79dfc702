#include "browse/list_rows.h"

#include <QRegularExpression>
#include <QStringList>

namespace pylon {

namespace {

const QString kOnAccountMark = QStringLiteral(" *");

QString oneLine(const QString& address) {
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\n|\r"));
    QStringList lines = address.split(lineBreak, Qt::SkipEmptyParts);
    for (QString& l : lines)
        l = l.trimmed();
    lines.removeAll(QString());
    return lines.join(QStringLiteral(", "));
}

} // namespace

QString DocumentRows::text(int row, int column) {
    if (row < 0 || row >= count()) return {};
    if (column == 3) return type_;
    const ListedHeader h = documents_->header(row);
    switch (column) {
    case 0:
        return h.number;
    case 1:
        return h.date;
    case 2:
        return h.client;
    default:
        return {};
    }
}

const ListedParty* PartyRows::party(int row) const {
    return row >= 0 && row < count() ? &parties_[size_t(row)] : nullptr;
}

QString PartyRows::text(int row, int column) {
    const ListedParty* p = party(row);
    if (!p) return {};
    switch (column) {
    case 0:
        return p->number;
    case 1:
        return p->onAccount ? p->name + kOnAccountMark : p->name;
    case 2:
        // The columns have no sideways scrolling, which would shorten one of them and put its rows out of
        // step with the others: a long name or address is cut at the column's edge and read whole in its
        // tip.
        return oneLine(p->address);
    default:
        return {};
    }
}

QString PartyRows::toolTip(int row, int column) {
    const ListedParty* p = party(row);
    if (!p) return {};
    if (column == 1) return text(row, column);
    if (column == 2) return p->address;
    return {};
}

} // namespace pylon
