#pragma once
// The amount proposed for a line: its quantity times its unit price.
#include <QString>

class QListWidgetItem;

namespace pylon {

// "###0.00" text of quantity × unit price, rounded half away from zero; empty when either is not a number.
QString proposedAmount(const QString& quantity, const QString& unitPrice);
QString proposedAmount(const QListWidgetItem* quantity, const QListWidgetItem* unitPrice);

// The same product as a plain number, without trailing zeros (3 × 12,5 gives "37,5"); empty when either
// is not a number.
QString plainProduct(const QString& quantity, const QString& unitPrice);

} // namespace pylon
