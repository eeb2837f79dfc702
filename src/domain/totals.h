#pragma once
// The totals of a document from the amounts of its lines, as the editor shows them.
#include "domain/amount_text.h"

#include <QStringList>
#include <optional>

namespace pylon {

// Total before tax, the 20 % tax and the total with tax. A line text that is not an amount (an empty
// cell) adds nothing. A total beyond the range of amounts cannot be shown truly: it is nullopt, and so are
// the totals made from it.
struct Totals {
    std::optional<Amount> ht, tva, ttc;
};
Totals totalsOf(const QStringList& lineAmounts);

} // namespace pylon
