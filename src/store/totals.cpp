#include "store/totals.h"

#include <QtNumeric>

namespace pylon {

Totals totalsOf(const QStringList& lineAmounts) {
    Totals t;
    Amount ht = 0;
    for (const QString& text : lineAmounts)
        if (const auto a = parseAmount(text))
            if (qAddOverflow(ht, *a, &ht)) return t;
    t.ht = ht;
    t.tva = vatOf(ht);
    if (Amount ttc = 0; !qAddOverflow(ht, *t.tva, &ttc)) t.ttc = ttc;
    return t;
}

} // namespace pylon
