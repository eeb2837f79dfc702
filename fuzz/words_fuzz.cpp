// The amount in words is printed on every invoice, under the totals: whatever the total, the text must be
// made of French number words separated by single spaces and end the way the printed form expects.
// Each input gives one double (its first 8 bytes, any bit pattern: NaN, infinities, subnormals), one amount
// in ten-thousandths (the next 8) and one arbitrary text (the rest).
#include "domain/amount_text.h"
#include "domain/amount_words.h"
#include "fuzz_support.h"

#include <QSet>
#include <cmath>

using fuzz::require;
using fuzz::shown;

namespace {

const QString kError = QStringLiteral("Une Erreur !");

bool knownWord(const QString& w) {
    static const QSet<QString> words = {"un",           "deux",         "trois",
                                        "quatre",       "cinq",         "six",
                                        "sept",         "huit",         "neuf",
                                        "dix",          "onze",         "douze",
                                        "treize",       "quatorze",     "quinze",
                                        "seize",        "dix-sept",     "dix-huit",
                                        "dix-neuf",     "vingt",        "trente",
                                        "quarante",     "cinquante",    "soixante",
                                        "soixante-dix", "quatre-vingt", "quatre-vingt-dix",
                                        "cent",         "mille",        "million",
                                        "millard"};
    return words.contains(w);
}

void checkWords(double x) {
    QString w;
    try {
        w = pylon::AmountInWords(x);
    } catch (...) {
        fuzz::fail("AmountInWords never throws", QString::number(x, 'g', 17));
    }
    const QString input = QString::number(x, 'g', 17) + QStringLiteral(" -> ") + shown(w);
    const double f = std::floor(x);
    // The decimal text of floor(x) has 16 characters or more exactly from 1e15 up and from -1e14 down.
    const bool tooLong = !std::isfinite(x) || f >= 1e15 || f <= -1e14;
    require((w == kError) == tooLong, "an error exactly for values with 16 characters or more", input);
    if (tooLong) return;
    require(w.isEmpty() == (f == 0 || f == 1), "nothing for 0 and 1 only", input);
    if (w.isEmpty()) return;

    require(w.endsWith(u' '), "the words end with a space", input);
    require(!w.contains(QStringLiteral("  ")), "never two spaces in a row", input);
    require(!w.startsWith(u' '), "no space in front", input);
    require(w[0].isUpper(), "the first letter is upper-case", input);
    const QStringList words = w.toLower().split(u' ', Qt::SkipEmptyParts);
    for (const QString& word : words)
        require(knownWord(word), "only French number words", input);
}

// The printed sentence for a total that parseAmount reads.
void checkTotal(const QString& text) {
    QString t;
    try {
        t = pylon::TotalInWords(text);
    } catch (...) {
        fuzz::fail("TotalInWords never throws", shown(text));
    }
    const std::optional<pylon::Amount> a = pylon::parseAmount(text);
    const QString input = shown(text) + QStringLiteral(" -> ") + shown(t);
    if (!a) {
        require(t.isEmpty(), "nothing for a text that is not an amount", input);
        return;
    }
    const QString formatted = pylon::formatAmount(*a);
    require(pylon::TotalInWords(formatted) == t, "the sentence depends only on the amount to the cent",
            input);

    const qsizetype comma = formatted.indexOf(u',');
    const qint64 whole = formatted.left(comma).toLongLong();
    const int cents = formatted.mid(comma + 1).toInt();
    if (whole == 0 && cents == 0) {
        require(t.isEmpty(), "nothing for a zero total", input);
        return;
    }
    require(t.endsWith(QStringLiteral("dirhams.")) || t.endsWith(QStringLiteral("dirham.")) ||
                t.endsWith(QStringLiteral("centimes.")) || t.endsWith(QStringLiteral("centime.")),
            "the sentence ends with dirham(s) or centime(s)", input);
    if (cents == 0) {
        require(t.endsWith(QStringLiteral("dirhams.")) || t == QStringLiteral("Un dirham."),
                "whole dirhams end with the dirhams", input);
        require(!t.contains(u'\n'), "whole dirhams fit on one line", input);
    } else {
        require(t.endsWith(cents == 1 ? QStringLiteral("Un centime.") : QStringLiteral("centimes.")),
                "cents end with the centimes", input);
        require(t.contains(QStringLiteral("\r\nEt ")) == (whole != 0), "dirhams and cents on two lines",
                input);
    }
    require(!t.contains(QStringLiteral("  ")), "never two spaces in a row", input);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    const double x = in.take<double>();
    const qint64 amount = in.take<int64_t>();
    checkWords(x);
    // Whole numbers (of dirhams, of centimes) are what the program passes; raw double bits rarely give one.
    checkWords(double(amount % 10'000'000'000'000));
    checkTotal(pylon::formatAmount(amount));
    checkTotal(in.text());
    return 0;
}
