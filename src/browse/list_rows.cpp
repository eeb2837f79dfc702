#include "browse/list_rows.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>

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

std::optional<int> ListRows::findStartingWith(int column, const QString& text, int from) {
    for (int i = 0; i < count(); ++i) {
        const int row = (std::max(from, 0) + i) % count();
        if (this->text(row, column).startsWith(text, Qt::CaseInsensitive)) return row;
    }
    return -1;
}

QString DocumentRows::text(int row, int column) {
    if (row < 0 || row >= count()) return {};
    switch (column) {
    case 0:
        return documents_->number(row);
    case 1:
        return documents_->header(row).date;
    case 2:
        return documents_->header(row).client;
    case 3:
        return type_;
    default:
        return {};
    }
}

std::optional<int> DocumentRows::findStartingWith(int column, const QString& text, int from) {
    if (column == 0) return documents_->findNumberStartingWith(text, from);
    if (column == 3)
        return count() > 0 && type_.startsWith(text, Qt::CaseInsensitive) ? std::max(from, 0) : -1;
    return std::nullopt;
}

int DocumentRows::rowOfText(const QString& number) const {
    bool whole = false;
    const qint64 n = number.toLongLong(&whole);
    return whole ? documents_->rowOfNumber(n) : -1;
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
