#pragma once
// Amounts as the screen shows them: fixed-point values in ten-thousandths of a dirham, written with a
// comma as the decimal separator ("1028,80"). Pure routines: no database, no widgets.
#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <optional>

namespace pylon {

// An amount of money, counted in ten-thousandths of a dirham: the finest the screen and the file ever
// hold. A type of its own so that an amount is never taken for a count, a number or a cent value: it is
// made from ten-thousandths (a plain integer converts, which keeps the tables of values readable), added
// with a check for overflow, and only gives its count back when asked by name.
class Amount {
  public:
    constexpr Amount() = default;
    constexpr Amount(qint64 tenThousandths) : value_(tenThousandths) {}
    constexpr qint64 tenThousandths() const { return value_; }
    constexpr bool isNegative() const { return value_ < 0; }
    // The sum, or nullopt when it is beyond what an amount can hold.
    std::optional<Amount> plus(Amount other) const {
        qint64 sum = 0;
        if (qAddOverflow(value_, other.value_, &sum)) return std::nullopt;
        return Amount(sum);
    }
    constexpr auto operator<=>(const Amount&) const = default;

  private:
    qint64 value_ = 0;
};

// Reads an amount typed or shown on screen: optional whitespace around, an optional leading '-', digits,
// optionally a comma followed by decimals ("12,5", "  1028,80", "-3", "0,125"). Either side of the comma may
// be empty but not both (",5" is 0,50 and "5," is 5,00). More than four decimals round half away from zero to
// four. nullopt for anything else: empty or blank text, letters, a dot ("1.5"), a leading '+', digit grouping
// ("1 028,80"), two commas, a lone "-" or ",", a value beyond the qint64 range of ten-thousandths.
std::optional<Amount> parseAmount(const QString& text);

// The pattern "###0.00" with the comma: no digit grouping, at least one integer digit, exactly two decimals,
// rounded half away from zero (12345 -> "1,23", 10288000 -> "1028,80", 50 -> "0,01", -50 -> "-0,01").
// A negative amount that rounds to zero is written "0,00" (never "-0,00").
QString formatAmount(Amount a);
// The same with the thousands grouped as French writes them ("1 234 567,89", with the narrow no-break space
// of the French locale), for figures read at a glance; never for a text that is read back as an amount.
QString formatGroupedAmount(Amount a);

// The amount formatAmount writes: rounded half away from zero to the cent, so that sums of these equal sums
// of the texts on screen.
Amount roundedToCents(Amount a);

// A number read from the screen exactly, however many decimals it has:
// (negative ? -1 : 1) x digits x 10^-decimals. Zero has no digits and is never negative; the digits never
// begin with a 0 and, when there are decimals, never end with one.
struct ExactNumber {
    bool negative = false;
    QByteArray digits;
    int decimals = 0;
    bool operator==(const ExactNumber&) const = default;
};

// Reads the shapes parseAmount reads and refuses the others, without rounding and without a range.
std::optional<ExactNumber> parseExact(const QString& text);

// a x b, exactly. nullopt when the digits of a and b together exceed kExactDigits: no cell that could be
// typed comes near, and a text stored or set with thousands of digits must not stall the window.
inline constexpr int kExactDigits = 1000;
std::optional<ExactNumber> multiplyExact(const ExactNumber& a, const ExactNumber& b);

// The number rounded once, half away from zero, to `places` decimals (0 to 4), in ten-thousandths; nullopt
// beyond the range of Amount.
std::optional<Amount> roundExact(const ExactNumber& n, int places);

// The number written plainly, all its decimals and no more ("37,5", "0,110889", "-2", "0").
QString plainText(const ExactNumber& n);

// Reformats a cell text (parse, then format); nullopt when the text is not a number.
std::optional<QString> reformatAmount(const QString& text);

// Right-aligns an amount text: puts spaces in front so that the part before the first comma (the whole text
// when there is none) is six characters wide, a minus sign included. Texts whose part is empty or already six
// or more characters wide are returned unchanged ("1028,80" -> "  1028,80", "0,00" -> "     0,00").
QString padAmount(const QString& text);

// The tax at 20 %: HT x 0.2 computed in double precision, rounded half away from zero to four decimals.
Amount vatOf(Amount ht);

} // namespace pylon
