#include "domain/totals.h"

namespace pylon {

Totals totalsOf(const QStringList& lineAmounts) {
    Totals t;
    std::optional<Amount> ht = Amount();
    for (const QString& text : lineAmounts)
        if (const auto a = parseAmount(text))
            if (!(ht = ht->plus(*a))) return t;
    t.ht = ht;
    t.tva = vatOf(*ht);
    t.ttc = ht->plus(*t.tva);
    return t;
}

} // namespace pylon
