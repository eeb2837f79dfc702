#include "editing/line_amounts.h"

#include "editor/amount_text.h"

#include <QListWidgetItem>
#include <QtNumeric>
#include <optional>

namespace pylon {

namespace {

// Quantity × price in ten-thousandths, rounded half away from zero; nullopt when either is not a number
// or the product does not fit.
std::optional<Amount> product(const QString& quantity, const QString& unitPrice) {
    const auto q = parseAmount(quantity);
    const auto p = parseAmount(unitPrice);
    if (!q || !p) return std::nullopt;
    Amount raw = 0;
    if (qMulOverflow(*q, *p, &raw)) return std::nullopt;
    const Amount scaled = raw >= 0 ? (raw + 5000) / 10000 : (raw - 5000) / 10000;
    return Amount(scaled);
}

} // namespace

QString proposedAmount(const QString& quantity, const QString& unitPrice) {
    const auto a = product(quantity, unitPrice);
    return a ? formatAmount(*a) : QString();
}

QString proposedAmount(const QListWidgetItem* quantity, const QListWidgetItem* unitPrice) {
    if (!quantity || !unitPrice) return QString();
    return proposedAmount(quantity->text(), unitPrice->text());
}

QString plainProduct(const QString& quantity, const QString& unitPrice) {
    const auto a = product(quantity, unitPrice);
    if (!a) return QString();
    const bool negative = *a < 0;
    const unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(*a) : *a;
    QString text = QString::number(magnitude / 10000);
    QString decimals = QStringLiteral("%1").arg(magnitude % 10000, 4, 10, QLatin1Char('0'));
    while (decimals.endsWith(QLatin1Char('0')))
        decimals.chop(1);
    if (!decimals.isEmpty()) text += QLatin1Char(',') + decimals;
    return negative && text != u"0" ? QLatin1Char('-') + text : text;
}

} // namespace pylon
