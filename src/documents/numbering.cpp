#include "documents/numbering.h"

#include "store/recordset.h"

namespace pylon {

double MaxOfThree(double a, double b, double c) {
    if (a >= b && a >= c) return a;
    if (b >= a && b >= c) return b;
    return c;
}

qlonglong lastNumber(RecordSet* headers, const QString& typeFact) {
    if (!headers) return 0;
    QString quoted = typeFact;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    if (!headers->FindLast(QStringLiteral("TypeFact='%1'").arg(quoted)) || headers->NoMatch()) return 0;
    const auto v = headers->Fields(QStringLiteral("NumFact"));
    // A number that cannot be read counts as 0.
    bool ok = false;
    const qlonglong n = v ? v->toLongLong(&ok) : 0;
    return ok ? n : 0;
}

qlonglong nextNumber(RecordSet* headers, DocKind kind) {
    switch (kind) {
    case DocKind::Quote:
    case DocKind::Order:
        return lastNumber(headers, kindInfo(kind).stored) + 1;
    default:
        return qlonglong(MaxOfThree(double(lastNumber(headers, kindInfo(DocKind::Invoice).stored)),
                                    double(lastNumber(headers, kindInfo(DocKind::MonthEnd).stored)),
                                    double(lastNumber(headers, kindInfo(DocKind::Delivery).stored)))) +
               1;
    }
}

} // namespace pylon
