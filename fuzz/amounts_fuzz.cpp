// Amounts move between the screen and the database as text many times per document; every step has to
// keep the value to the cent, and the text has to stay in the one shape the rest of the program reads.
// Each input gives one qint64 amount (its first 8 bytes), the other factor of a product and the decimals of
// both (the next 9 bytes), and one arbitrary text (the rest).
#include "domain/amount_text.h"
#include "fuzz_support.h"

#include <limits>

using fuzz::require;
using fuzz::shown;
using pylon::Amount;

namespace {

using Wide = __int128; // room for every intermediate value, so the references cannot overflow

QString num(Wide v) {
    return QString::number(qint64(v));
}

// -?\d+,\d\d with no superfluous leading zero and never "-0,00".
bool wellFormed(const QString& s) {
    qsizetype i = s.startsWith(u'-') ? 1 : 0;
    const qsizetype comma = s.indexOf(u',');
    if (comma <= i || s.size() != comma + 3) return false;
    for (qsizetype k = i; k < s.size(); ++k)
        if (k != comma && (s[k] < u'0' || s[k] > u'9')) return false;
    if (comma - i > 1 && s[i] == u'0') return false;
    return s != QStringLiteral("-0,00");
}

// a rounded half away from zero to a multiple of the given step.
Wide roundTo(Wide a, Wide step) {
    const Wide m = a < 0 ? -a : a;
    const Wide r = (m + step / 2) / step * step;
    return a < 0 ? -r : r;
}

// An independent reading of an amount text, digit by digit in 128 bits.
std::optional<Amount> referenceParse(const QString& text) {
    const QString t = text.trimmed();
    qsizetype i = 0;
    const bool negative = t.startsWith(u'-');
    if (negative) ++i;
    const auto digit = [&](qsizetype k) { return k < t.size() && t[k] >= u'0' && t[k] <= u'9'; };
    Wide whole = 0;
    qsizetype digits = 0;
    for (; digit(i); ++i, ++digits)
        whole = std::min<Wide>(whole * 10 + (t[i].unicode() - u'0'), Wide(1) << 80);
    Wide fraction = 0;
    int fifth = 0;
    if (i < t.size() && t[i] == u',') {
        int k = 0;
        for (++i; digit(i); ++i, ++k, ++digits) {
            if (k < 4) fraction = fraction * 10 + (t[i].unicode() - u'0');
            if (k == 4) fifth = t[i].unicode() - u'0';
        }
        for (; k < 4; ++k)
            fraction *= 10;
    }
    if (i != t.size() || digits == 0) return std::nullopt;
    Wide v = whole * 10000 + fraction + (fifth >= 5 ? 1 : 0);
    if (negative) v = -v;
    if (v > std::numeric_limits<qint64>::max() || v < std::numeric_limits<qint64>::min()) return std::nullopt;
    return Amount(qint64(v));
}

void checkPad(const QString& text) {
    const QString p = pylon::padAmount(text);
    require(p.endsWith(text), "padding only adds in front", shown(text) + QStringLiteral(" -> ") + shown(p));
    const qsizetype added = p.size() - text.size();
    for (qsizetype k = 0; k < added; ++k)
        require(p[k] == u' ', "padding adds only spaces", shown(p));
    if (added > 0) {
        const qsizetype comma = p.indexOf(u',');
        require((comma < 0 ? p.size() : comma) == 6, "padding makes the integer part six wide", shown(p));
    }
}

void checkAmount(qint64 a) {
    const QString s = pylon::formatAmount(a);
    require(wellFormed(s), "formatAmount gives -?digits,dd", num(a) + QStringLiteral(" -> ") + shown(s));

    const Wide cents = roundTo(a, 100);
    const std::optional<Amount> back = pylon::parseAmount(s);
    require(back && Wide(back->tenThousandths()) == cents,
            "parseAmount(formatAmount(a)) is a rounded to cents",
            num(a) + QStringLiteral(" -> ") + s + QStringLiteral(" -> ") +
                (back ? num(back->tenThousandths()) : QString()));
    require(pylon::reformatAmount(s) == s, "a formatted amount reformats to itself", shown(s));

    checkPad(s);
    const QString padded = pylon::padAmount(s);
    require(padded.indexOf(u',') >= 6, "a padded amount has six places before the comma", shown(padded));
    require(pylon::parseAmount(padded) == back, "a padded amount reads the same", shown(padded));

    // The tax is HT / 5 rounded to the nearest ten-thousandth; HT / 5 never ends in exactly one half.
    const qint64 vat = pylon::vatOf(a).tenThousandths();
    const Wide exact = roundTo(Wide(a) * 2, 10) / 10;
    const Wide m = a < 0 ? -Wide(a) : Wide(a);
    // Exact up to a hundred billion dirhams (1e15 ten-thousandths). vatOf works in double precision, and
    // from about 1.7e15 its error passes the tenth of a unit that separates a / 5 from the rounding midpoint
    // (5066549580791807 gives 1013309916158362 instead of ...361); it still stays within 1e-15 of a / 5.
    if (m <= Wide(1'000'000'000'000'000)) {
        require(Wide(vat) == exact, "vatOf(a) is a / 5 rounded", num(a) + QStringLiteral(" -> ") + num(vat));
    } else {
        const Wide error = Wide(vat) > exact ? Wide(vat) - exact : exact - Wide(vat);
        require(error <= m / 1'000'000'000'000'000 + 1, "vatOf(a) stays within double precision of a / 5",
                num(a) + QStringLiteral(" -> ") + num(vat) + QStringLiteral(" instead of ") + num(exact));
    }
}

void checkText(const QString& text) {
    const std::optional<Amount> a = pylon::parseAmount(text);
    const std::optional<Amount> ref = referenceParse(text);
    require(a == ref, "parseAmount agrees with the digit-by-digit reading",
            shown(text) + QStringLiteral(" -> ") +
                (a ? num(a->tenThousandths()) : QStringLiteral("nullopt")) + QStringLiteral(" instead of ") +
                (ref ? num(ref->tenThousandths()) : QStringLiteral("nullopt")));

    const std::optional<QString> r = pylon::reformatAmount(text);
    require(r.has_value() == a.has_value(), "reformatAmount refuses exactly what parseAmount refuses",
            shown(text));
    if (r) {
        require(wellFormed(*r), "reformatAmount gives -?digits,dd",
                shown(text) + QStringLiteral(" -> ") + *r);
        require(*r == pylon::formatAmount(*a), "reformatAmount is formatAmount of the value", shown(text));
    }
    checkPad(text);
}

Wide pow10(int n) {
    Wide p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

Wide magnitudeOf(Wide v) {
    return v < 0 ? -v : v;
}

// v x 10^-decimals written with all its decimals ("-12,345" for -12345 and 3); plain drops the trailing
// zeros after the comma and the comma itself when nothing is left after it.
QString decimalText(Wide v, int decimals, bool plain) {
    QString digits;
    for (Wide m = magnitudeOf(v); m > 0; m /= 10)
        digits.prepend(QChar(u'0' + int(m % 10)));
    if (digits.size() <= decimals) digits.prepend(QString(decimals + 1 - digits.size(), u'0'));
    if (decimals > 0) digits.insert(digits.size() - decimals, u',');
    if (plain && decimals > 0) {
        while (digits.endsWith(u'0'))
            digits.chop(1);
        if (digits.endsWith(u',')) digits.chop(1);
    }
    return v < 0 && (!plain || v != 0) ? u'-' + digits : digits;
}

// Quantity x unit price as the line entry and the line dialog propose it: exact, rounded once.
void checkProduct(qint64 x, int dx, qint64 y, int dy) {
    const QString tx = decimalText(x, dx, false);
    const QString ty = decimalText(y, dy, false);
    const auto ex = pylon::parseExact(tx);
    const auto ey = pylon::parseExact(ty);
    require(ex && ey, "parseExact reads a decimal text", tx + QStringLiteral(" ") + ty);
    require(pylon::plainText(*ex) == decimalText(x, dx, true), "plainText writes back what parseExact read",
            tx + QStringLiteral(" -> ") + pylon::plainText(*ex));
    const auto product = pylon::multiplyExact(*ex, *ey);
    require(product.has_value(), "short numbers always multiply", tx + QStringLiteral(" x ") + ty);

    const Wide exact = Wide(x) * Wide(y);
    const int scale = dx + dy;
    const QString detail = tx + QStringLiteral(" x ") + ty;
    require(pylon::plainText(*product) == decimalText(exact, scale, true), "the plain product is exact",
            detail + QStringLiteral(" -> ") + pylon::plainText(*product));

    // Rounded once to the cent, then in ten-thousandths; beyond the range of Amount there is no proposal.
    std::optional<Wide> cents;
    if (scale >= 2)
        cents = roundTo(exact, pow10(scale - 2)) / pow10(scale - 2);
    else if (magnitudeOf(exact) < (Wide(1) << 80))
        cents = exact * pow10(2 - scale);
    const Wide limit = std::numeric_limits<qint64>::max();
    const bool fits = cents && magnitudeOf(*cents) <= limit / 100;
    const auto rounded = pylon::roundExact(*product, 2);
    require(rounded.has_value() == fits && (!fits || Wide(rounded->tenThousandths()) == *cents * 100),
            "the proposed amount is the exact product rounded once to the cent",
            detail + QStringLiteral(" -> ") +
                (rounded ? num(rounded->tenThousandths()) : QStringLiteral("nullopt")));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    const qint64 a = in.take<int64_t>();
    // The other factor of a product, and the decimals of both (low and high half of the byte).
    const qint64 b = in.take<int64_t>();
    const uint8_t places = in.take<uint8_t>();
    checkAmount(a);
    // Amounts near zero and near the cent boundaries are the common ones; reach them often.
    checkAmount(a % 1'000'000);
    checkProduct(a, places % 16, b, places / 16);
    checkProduct(a % 1'000'000, places % 16, b % 1'000'000, places / 16);
    const QString text = in.text();
    checkText(text);
    if (const auto x = pylon::parseExact(text)) {
        const QString plain = pylon::plainText(*x);
        require(pylon::parseExact(plain) == x, "a plain text reads back as the same number", shown(text));
        require(pylon::roundExact(*x, 4) == pylon::parseAmount(text), "parseAmount is parseExact rounded",
                shown(text));
    }
    return 0;
}
