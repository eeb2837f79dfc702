#include "editing/numbering.h"

#include "app/module1.h"

namespace pylon {

double MaxOfThree(double a, double b, double c) {
    if (a >= b && a >= c) return a;
    if (b >= a && b >= c) return b;
    return c;
}

qlonglong lastNumber(Module1& m, const QString& typeFact) {
    if (!m.rsFacture) return 0;
    QString quoted = typeFact;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    if (!m.rsFacture->FindLast(QStringLiteral("TypeFact='%1'").arg(quoted)) || m.rsFacture->NoMatch())
        return 0;
    const auto v = m.rsFacture->Fields(QStringLiteral("NumFact"));
    // A number that cannot be read counts as 0.
    bool ok = false;
    const qlonglong n = v ? v->toLongLong(&ok) : 0;
    return ok ? n : 0;
}

qlonglong nextNumber(Module1& m, DocKind kind) {
    switch (kind) {
    case DocKind::Quote:
    case DocKind::Order:
        return lastNumber(m, kindInfo(kind).stored) + 1;
    default:
        return qlonglong(MaxOfThree(double(lastNumber(m, kindInfo(DocKind::Invoice).stored)),
                                    double(lastNumber(m, kindInfo(DocKind::MonthEnd).stored)),
                                    double(lastNumber(m, kindInfo(DocKind::Delivery).stored)))) +
               1;
    }
}

} // namespace pylon
