#include "domain/criteria.h"

#include <QRegularExpression>

namespace pylon {

QString Criterion::sql() const {
    return QStringLiteral("\"%1\" %2 ?")
        .arg(field, op == Op::Equal ? QStringLiteral("=") : QStringLiteral("<>"));
}

std::optional<Criterion> parseCriterion(const QString& text) {
    // field, operator, then either a number or a text in single quotes ('' stands for one quote).
    static const QRegularExpression re(
        QStringLiteral(R"(^\s*([^\W\d]\w*)\s*(=|<>)\s*(?:([-]?\d+(?:\.\d+)?)|'((?:[^']|'')*)')\s*$)"),
        QRegularExpression::UseUnicodePropertiesOption);
    const auto m = re.match(text);
    if (!m.hasMatch()) return std::nullopt;
    Criterion c;
    c.field = m.captured(1);
    c.op = m.captured(2) == u"=" ? Criterion::Op::Equal : Criterion::Op::NotEqual;
    if (m.capturedLength(3) > 0) {
        const QString number = m.captured(3);
        bool ok = false;
        if (number.contains(QLatin1Char('.'))) {
            const double d = number.toDouble(&ok);
            c.value = d;
        } else {
            const qlonglong n = number.toLongLong(&ok);
            c.value = n;
        }
        if (!ok) return std::nullopt;
    } else {
        c.value = m.captured(4).replace(QStringLiteral("''"), QStringLiteral("'"));
    }
    return c;
}

} // namespace pylon
