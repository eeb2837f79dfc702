#include "domain/amount_text.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace pylon {

namespace {

constexpr quint64 kScale = 10000; // ten-thousandths in one dirham
constexpr quint64 kMaxPositive = quint64(std::numeric_limits<qint64>::max());
constexpr quint64 kMaxNegative = kMaxPositive + 1; // the magnitude of the lowest qint64

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// The magnitude of a, valid for the lowest qint64 as well.
quint64 magnitude(Amount a) {
    const qint64 v = a.tenThousandths();
    return v < 0 ? quint64(0) - quint64(v) : quint64(v);
}

// Drops the leading zeros and, after the comma, the trailing ones; zero loses its sign.
ExactNumber normalized(ExactNumber x) {
    qsizetype lead = 0;
    while (lead < x.digits.size() && x.digits[lead] == '0')
        ++lead;
    x.digits.remove(0, lead);
    qsizetype trail = 0;
    while (trail < x.decimals && trail < x.digits.size() && x.digits[x.digits.size() - 1 - trail] == '0')
        ++trail;
    x.digits.chop(trail);
    x.decimals -= int(trail);
    if (x.digits.isEmpty()) return ExactNumber{};
    return x;
}

// Hundredths of the magnitude, rounded half away from zero (no overflow: the magnitude is at most 2^63).
quint64 centsOf(Amount a) {
    return (magnitude(a) + 50) / 100;
}

} // namespace

std::optional<ExactNumber> parseExact(const QString& text) {
    const QString t = text.trimmed();
    qsizetype i = 0;
    const qsizetype n = t.size();
    ExactNumber out;
    if (i < n && t[i] == u'-') {
        out.negative = true;
        ++i;
    }
    qsizetype read = 0;
    for (; i < n && isAsciiDigit(t[i]); ++i, ++read)
        if (!out.digits.isEmpty() || t[i] != u'0') out.digits += char(t[i].unicode());
    if (i < n && t[i] == u',') {
        for (++i; i < n && isAsciiDigit(t[i]); ++i, ++read) {
            out.digits += char(t[i].unicode());
            ++out.decimals;
        }
    }
    if (i != n || read == 0) return std::nullopt;
    return normalized(std::move(out));
}

std::optional<ExactNumber> multiplyExact(const ExactNumber& a, const ExactNumber& b) {
    if (a.digits.size() + b.digits.size() > kExactDigits) return std::nullopt;
    if (a.digits.isEmpty() || b.digits.isEmpty()) return ExactNumber{};
    // Long multiplication, least significant digit first; each column stays far below 2^32.
    const qsizetype la = a.digits.size(), lb = b.digits.size();
    std::vector<quint32> columns(size_t(la + lb), 0);
    for (qsizetype i = 0; i < la; ++i)
        for (qsizetype j = 0; j < lb; ++j)
            columns[size_t(i + j)] +=
                quint32(a.digits[la - 1 - i] - '0') * quint32(b.digits[lb - 1 - j] - '0');
    QByteArray digits(la + lb, '0');
    quint32 carry = 0;
    for (qsizetype k = 0; k < la + lb; ++k) {
        const quint32 v = columns[size_t(k)] + carry;
        digits[la + lb - 1 - k] = char('0' + v % 10);
        carry = v / 10;
    }
    ExactNumber out;
    out.negative = a.negative != b.negative;
    out.digits = digits;
    out.decimals = a.decimals + b.decimals;
    return normalized(std::move(out));
}

std::optional<Amount> roundExact(const ExactNumber& x, int places) {
    if (places < 0 || places > 4) return std::nullopt;
    quint64 scale = 1;
    for (int k = places; k < 4; ++k)
        scale *= 10;
    // The most units of 10^-places that still fit once scaled to ten-thousandths.
    const quint64 limit = (x.negative ? kMaxNegative : kMaxPositive) / scale;
    quint64 units = 0;
    const auto push = [&](quint64 d) {
        if (units > (limit - d) / 10) return false;
        units = units * 10 + d;
        return true;
    };
    const qsizetype len = x.digits.size();
    const qsizetype dropped = qsizetype(x.decimals) - places; // digits below 10^-places
    const qsizetype kept = len - std::max<qsizetype>(dropped, 0);
    for (qsizetype k = 0; k < kept; ++k)
        if (!push(quint64(x.digits[k] - '0'))) return std::nullopt;
    for (qsizetype k = dropped; k < 0; ++k)
        if (!push(0)) return std::nullopt;
    // The first digit dropped decides; when every digit is dropped and more, it is a leading 0.
    if (dropped > 0 && kept >= 0 && x.digits[kept] >= '5') {
        if (units == limit) return std::nullopt;
        ++units;
    }
    const quint64 value = units * scale;
    if (!x.negative) return Amount(qint64(value));
    return Amount(value == kMaxNegative ? std::numeric_limits<qint64>::min() : -qint64(value));
}

QString plainText(const ExactNumber& x) {
    if (x.digits.isEmpty()) return QStringLiteral("0");
    QString digits = QString::fromLatin1(x.digits);
    if (digits.size() <= x.decimals) digits.prepend(QString(x.decimals + 1 - digits.size(), u'0'));
    if (x.decimals > 0) digits.insert(digits.size() - x.decimals, u',');
    return x.negative ? u'-' + digits : digits;
}

std::optional<Amount> parseAmount(const QString& text) {
    const std::optional<ExactNumber> x = parseExact(text);
    if (!x) return std::nullopt;
    return roundExact(*x, 4);
}

QString formatAmount(Amount a) {
    const quint64 cents = centsOf(a);
    const quint64 whole = cents / 100;
    const quint64 rest = cents % 100;
    QString s;
    if (a.isNegative() && cents != 0) s += u'-';
    s += QString::number(whole);
    s += u',';
    if (rest < 10) s += u'0';
    s += QString::number(rest);
    return s;
}

Amount roundedToCents(Amount a) {
    // At most 2^63 / 100 cents: a hundred times that still fits.
    const qint64 value = qint64(centsOf(a) * 100);
    return Amount(a.isNegative() ? -value : value);
}

QString formatGroupedAmount(Amount a) {
    QString text = formatAmount(a);
    const QString separator = QLocale(QLocale::French).groupSeparator();
    const qsizetype firstDigit = text.startsWith(u'-') ? 1 : 0;
    for (qsizetype at = text.indexOf(u',') - 3; at > firstDigit; at -= 3)
        text.insert(at, separator);
    return text;
}

std::optional<QString> reformatAmount(const QString& text) {
    const std::optional<Amount> a = parseAmount(text);
    if (!a) return std::nullopt;
    return formatAmount(*a);
}

QString padAmount(const QString& text) {
    const qsizetype comma = text.indexOf(u',');
    const qsizetype width = comma < 0 ? text.size() : comma;
    if (width <= 0 || width >= 6) return text;
    return QString(6 - width, u' ') + text;
}

Amount vatOf(Amount ht) {
    const double htDirhams = double(ht.tenThousandths()) / double(kScale);
    const double vat = htDirhams * 0.2;
    // std::llround rounds half away from zero.
    return Amount(std::llround(vat * double(kScale)));
}

} // namespace pylon
