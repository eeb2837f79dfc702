#include "domain/amount_words.h"

#include "domain/amount_text.h"

#include <cmath>
#include <optional>

namespace pylon {

namespace {

const char* const kUnitWords[] = {"zero", "un",  "deux", "trois", "quatre",
                                  "cinq", "six", "sept", "huit",  "neuf"};
const char* const kTeenWords[] = {"dix",    "onze",  "douze",    "treize",   "quatorze",
                                  "quinze", "seize", "dix-sept", "dix-huit", "dix-neuf"};
const char* const kTenWords[] = {"",          "dix",      "vingt",        "trente",       "quarante",
                                 "cinquante", "soixante", "soixante-dix", "quatre-vingt", "quatre-vingt-dix"};
const char* const kScaleWords[] = {"", "mille", "million", "millard", "mille"};
constexpr int kMaxScale = 4;

QString word(const char* w) {
    return QString::fromLatin1(w);
}

// The value of a character of the decimal text; anything but a digit counts as 0.
int digitAt(const QString& s, qsizetype i1) {
    const QChar c = s.at(i1 - 1);
    return c >= u'0' && c <= u'9' ? c.unicode() - u'0' : 0;
}

QChar charAt(const QString& s, qsizetype i1) {
    return s.at(i1 - 1);
}

// The words of a decimal text, or nullopt when a scale word is missing from the table.
std::optional<QString> wordsOf(const QString& s) {
    const qsizetype n = s.size();
    QString r;
    qsizetype i = n; // 1-based, from the last character to the first
    while (i >= 1) {
        const int d = digitAt(s, i);
        const qsizetype p = n - i + 1; // 1 = units
        qsizetype step = 1;
        switch (p % 3) {
        case 1: { // the units digit of a group
            QString piece;
            bool suppress = false;
            if (i == 1) {
                if (d >= 2) piece = word(kUnitWords[d]) + u' ';
            } else {
                const QChar t = charAt(s, i - 1);
                if (t == u'1') {
                    piece = word(kTeenWords[d]) + u' ';
                    step = 2;
                } else if (t == u'9') {
                    piece = word(kTenWords[8]) + u' ' + word(kTeenWords[d]) + u' ';
                    step = 2;
                } else if (t == u'7') {
                    piece = word(kTenWords[6]) + u' ' + word(kTeenWords[d]) + u' ';
                    step = 2;
                } else if (d >= 1) {
                    piece = word(kUnitWords[d]) + u' ';
                } else {
                    // The scale word goes only when the three digits of the group are all zero.
                    const bool tensZero = t == u'0';
                    const bool hundredsZero = i <= 2 || charAt(s, i - 2) == u'0';
                    suppress = tensZero && hundredsZero;
                }
            }
            if (!suppress && p > 1) {
                const qsizetype k = (p - 1) / 3;
                if (k > kMaxScale) return std::nullopt;
                piece += word(kScaleWords[k]) + u' ';
            }
            r = piece + r;
            break;
        }
        case 2: // a tens digit not read with its units
            if (d > 0) r = word(kTenWords[d]) + u' ' + r;
            break;
        default: // hundreds
            if (d == 1)
                r = QStringLiteral("cent ") + r;
            else if (d >= 2)
                r = word(kUnitWords[d]) + QStringLiteral(" cent ") + r;
            break;
        }
        i -= step;
    }
    if (!r.isEmpty()) r[0] = r[0].toUpper();
    return r;
}

const QString kError = QStringLiteral("Une Erreur !");

} // namespace

QString AmountInWords(double x) {
    if (!std::isfinite(x)) return kError;
    const double f = std::floor(x);
    // Any value from 1e15 up (or -1e14 down) has a decimal text of 16 characters or more: an error whatever
    // the digits. Below that the value is an exact integer of a qint64.
    if (f >= 1e15 || f <= -1e14) return kError;
    const std::optional<QString> r = wordsOf(QString::number(qint64(f)));
    return r ? *r : kError;
}

QString TotalInWords(const QString& ttc) {
    const std::optional<Amount> amount = parseAmount(ttc);
    if (!amount) return QString();
    const QString text = formatAmount(*amount); // "-?I,CC"
    const qsizetype comma = text.indexOf(u',');
    const QString wholeText = text.left(comma);
    const QString cents = text.mid(comma + 1);
    const qint64 whole = wholeText.toLongLong(); // "-0" reads as 0
    const int c = cents.toInt();

    const QString centsWords =
        c == 1 ? QStringLiteral("Un centime.") : AmountInWords(double(c)) + QStringLiteral("centimes.");
    const QString crlf = QStringLiteral("\r\n");
    if (c == 0) {
        if (whole == 0) return QString();
        if (whole == 1) return QStringLiteral("Un dirham.");
        return AmountInWords(double(whole)) + QStringLiteral("dirhams.");
    }
    if (whole == 1) return QStringLiteral("Un dirham") + crlf + QStringLiteral("Et ") + centsWords;
    if (whole == 0) return centsWords;
    return AmountInWords(double(whole)) + QStringLiteral("dirhams") + crlf + QStringLiteral("Et ") +
           centsWords;
}

} // namespace pylon
