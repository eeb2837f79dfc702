#pragma once
// The numbers proposed for new documents. Invoices, delivery notes and month-end invoices share one
// sequence; quotes and purchase orders each have their own.
#include "store/kinds.h"

#include <QtGlobal>

namespace pylon {

struct Module1;

// The largest of three values, the earliest on a tie.
double MaxOfThree(double a, double b, double c);

// NumFact of the last header of that stored kind in the file's order; 0 when there is none.
qlonglong lastNumber(Module1& m, const QString& typeFact);

// The number to propose for a new document of the kind (not for credit notes, which take their document's).
qlonglong nextNumber(Module1& m, DocKind kind);

} // namespace pylon
