#include "editor/amount_text.h"

#include <cmath>
#include <limits>

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
    return a < 0 ? quint64(0) - quint64(a) : quint64(a);
}

} // namespace

std::optional<Amount> parseAmount(const QString& text) {
    const QString t = text.trimmed();
    qsizetype i = 0;
    const qsizetype n = t.size();
    bool negative = false;
    if (i < n && t[i] == u'-') {
        negative = true;
        ++i;
    }
    const quint64 limit = negative ? kMaxNegative : kMaxPositive;

    // The integer part, checked against the limit as it grows.
    quint64 whole = 0;
    int wholeDigits = 0;
    for (; i < n && isAsciiDigit(t[i]); ++i) {
        const quint64 d = quint64(t[i].unicode() - u'0');
        if (whole > (limit / kScale - d) / 10) return std::nullopt;
        whole = whole * 10 + d;
        ++wholeDigits;
    }

    // The decimals: the first four are kept, the fifth decides the rounding, the rest only have to be digits.
    quint64 fraction = 0;
    int fractionDigits = 0;
    bool roundUp = false;
    if (i < n && t[i] == u',') {
        ++i;
        for (; i < n && isAsciiDigit(t[i]); ++i) {
            const quint64 d = quint64(t[i].unicode() - u'0');
            if (fractionDigits < 4)
                fraction = fraction * 10 + d;
            else if (fractionDigits == 4)
                roundUp = d >= 5;
            ++fractionDigits;
        }
    }
    if (i != n || wholeDigits + fractionDigits == 0) return std::nullopt;
    for (int k = fractionDigits; k < 4; ++k)
        fraction *= 10;

    // whole * kScale <= limit holds from the checks above; adding the decimals may still overflow.
    quint64 value = whole * kScale;
    const quint64 rest = fraction + (roundUp ? 1 : 0);
    if (value > limit - rest) return std::nullopt;
    value += rest;
    if (negative) return value == kMaxNegative ? std::numeric_limits<qint64>::min() : -qint64(value);
    return qint64(value);
}

QString formatAmount(Amount a) {
    // Hundredths, rounded half away from zero on the magnitude (no overflow: the magnitude is at most 2^63).
    const quint64 cents = (magnitude(a) + 50) / 100;
    const quint64 whole = cents / 100;
    const quint64 rest = cents % 100;
    QString s;
    if (a < 0 && cents != 0) s += u'-';
    s += QString::number(whole);
    s += u',';
    if (rest < 10) s += u'0';
    s += QString::number(rest);
    return s;
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
    const double htDirhams = double(ht) / double(kScale);
    const double vat = htDirhams * 0.2;
    // std::llround rounds half away from zero.
    return Amount(std::llround(vat * double(kScale)));
}

} // namespace pylon
