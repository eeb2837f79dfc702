// Search criteria come from text the user typed ("NumCli=" followed by a field of a form), so a value must
// never end up inside the SQL text: only the field name does, double-quoted, and the value is bound.
#include "domain/criteria.h"
#include "fuzz_support.h"

#include <QLocale>
#include <QMetaType>

using fuzz::require;
using fuzz::shown;
using pylon::Criterion;

namespace {

bool isWordChar(char32_t c) {
    switch (QChar::category(c)) {
    case QChar::Letter_Uppercase:
    case QChar::Letter_Lowercase:
    case QChar::Letter_Titlecase:
    case QChar::Letter_Modifier:
    case QChar::Letter_Other:
    case QChar::Number_DecimalDigit:
    case QChar::Number_Letter:
    case QChar::Number_Other:
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
    case QChar::Punctuation_Connector:
        return true;
    default:
        return false;
    }
}

// A name made of word characters, not starting with a digit: nothing that could close the double quotes
// around it or start another clause.
void checkField(const QString& field) {
    const QList<uint> chars = field.toUcs4();
    require(!chars.isEmpty(), "the field is not empty");
    require(QChar::category(chars.first()) != QChar::Number_DecimalDigit,
            "the field does not start with a digit", shown(field));
    for (const uint c : chars)
        require(isWordChar(c), "the field is made of word characters", shown(field));
}

void checkSql(const Criterion& c) {
    const QString sql = c.sql();
    const QString op = c.op == Criterion::Op::Equal ? QStringLiteral("=") : QStringLiteral("<>");
    const QString expected = u'"' + c.field + QStringLiteral("\" ") + op + QStringLiteral(" ?");
    require(sql == expected, "sql() is the quoted field, the operator and a placeholder",
            shown(sql) + QStringLiteral(" instead of ") + shown(expected));
    require(sql.count(u'?') == 1, "exactly one placeholder", shown(sql));
    require(sql.count(u'"') == 2 && !sql.contains(u'\''), "no quotes beyond the field's", shown(sql));
}

// The criterion as the program would write it; parsing it again must give the same criterion.
QString canonical(const Criterion& c) {
    QString value;
    switch (c.value.typeId()) {
    case QMetaType::LongLong:
        value = QString::number(c.value.toLongLong());
        break;
    case QMetaType::Double:
        // Fixed notation with the shortest digits that read back to the same double; the dot keeps it a
        // double rather than an integer.
        value = QString::number(c.value.toDouble(), 'f', QLocale::FloatingPointShortest);
        if (!value.contains(u'.')) value += QStringLiteral(".0");
        break;
    case QMetaType::QString:
        value = u'\'' + c.value.toString().replace(QStringLiteral("'"), QStringLiteral("''")) + u'\'';
        break;
    default:
        fuzz::fail("the value is an integer, a double or a text", c.value.typeName());
    }
    return c.field + (c.op == Criterion::Op::Equal ? QStringLiteral("=") : QStringLiteral("<>")) + value;
}

bool same(const Criterion& a, const Criterion& b) {
    if (a.field != b.field || a.op != b.op || a.value.typeId() != b.value.typeId()) return false;
    if (a.value.typeId() == QMetaType::Double) return a.value.toDouble() == b.value.toDouble();
    return a.value == b.value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = fuzz::wholeText(data, size);
    const std::optional<Criterion> c = pylon::parseCriterion(text);

    // Spaces around the whole criterion never change the outcome.
    const std::optional<Criterion> padded = pylon::parseCriterion(QStringLiteral("  ") + text + u' ');
    require(c.has_value() == padded.has_value() && (!c || same(*c, *padded)),
            "surrounding spaces do not change the criterion", shown(text));
    if (!c) return 0;

    checkField(c->field);
    checkSql(*c);

    const QString again = canonical(*c);
    const std::optional<Criterion> reparsed = pylon::parseCriterion(again);
    require(reparsed.has_value(), "the canonical form parses",
            shown(text) + QStringLiteral(" -> ") + shown(again));
    require(same(*c, *reparsed), "the canonical form gives the same criterion",
            shown(text) + QStringLiteral(" -> ") + shown(again) + QStringLiteral(" -> ") +
                reparsed->value.toString());
    return 0;
}
