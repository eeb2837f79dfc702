#pragma once
// The numbers proposed for new documents. Invoices, delivery notes and month-end invoices share one
// sequence; quotes and purchase orders each have their own.
#include "domain/kinds.h"

#include <QString>
#include <QtGlobal>

namespace pylon {

class RecordSet;

// The largest of three values, the earliest on a tie.
double MaxOfThree(double a, double b, double c);

// NumFact of the last header of that stored kind in the order of `headers` (the table Facture); 0 when
// there is none or the headers cannot be searched.
qlonglong lastNumber(RecordSet* headers, const QString& typeFact);

// The number to propose for a new document of the kind (not for credit notes, which take their document's).
qlonglong nextNumber(RecordSet* headers, DocKind kind);

} // namespace pylon
