#pragma once
// The amount proposed for a line: its quantity times its unit price, taken from the texts exactly as they
// stand (0,1249 is 0,1249, not 0,1250) and rounded once at the end.
#include <QString>

namespace pylon {

// "###0.00" text of quantity × unit price, rounded once half away from zero to the cent (0,1249 × 0,20
// gives "0,02"); empty when either is not a number or the amount is beyond what the totals can hold.
QString proposedAmount(const QString& quantity, const QString& unitPrice);

// The same product as a plain number, every decimal of it and no trailing zero (3 × 12,5 gives "37,5",
// 0,333 × 0,333 gives "0,110889"); empty when either is not a number.
QString plainProduct(const QString& quantity, const QString& unitPrice);

} // namespace pylon
