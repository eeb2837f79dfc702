#include "domain/line_amounts.h"

#include "domain/amount_text.h"

namespace pylon {

namespace {

std::optional<ExactNumber> product(const QString& quantity, const QString& unitPrice) {
    const auto q = parseExact(quantity);
    const auto p = parseExact(unitPrice);
    if (!q || !p) return std::nullopt;
    return multiplyExact(*q, *p);
}

} // namespace

QString proposedAmount(const QString& quantity, const QString& unitPrice) {
    const auto exact = product(quantity, unitPrice);
    const auto cents = exact ? roundExact(*exact, 2) : std::nullopt;
    return cents ? formatAmount(*cents) : QString();
}

QString plainProduct(const QString& quantity, const QString& unitPrice) {
    const auto exact = product(quantity, unitPrice);
    return exact ? plainText(*exact) : QString();
}

} // namespace pylon
