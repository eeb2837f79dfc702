#include "domain/amount_text.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <limits>
#include <random>

namespace pylon {
namespace {

constexpr qint64 kMax = std::numeric_limits<qint64>::max();
constexpr qint64 kMin = std::numeric_limits<qint64>::min();

// ---- parseAmount ----

TEST(ParseAmount, ReadsWholeNumbers) {
    EXPECT_EQ(parseAmount(QStringLiteral("0")), 0);
    EXPECT_EQ(parseAmount(QStringLiteral("3")), 30000);
    EXPECT_EQ(parseAmount(QStringLiteral("1028")), 10280000);
    EXPECT_EQ(parseAmount(QStringLiteral("007")), 70000);
}

TEST(ParseAmount, ReadsDecimalsAfterTheComma) {
    EXPECT_EQ(parseAmount(QStringLiteral("12,5")), 125000);
    EXPECT_EQ(parseAmount(QStringLiteral("1028,80")), 10288000);
    EXPECT_EQ(parseAmount(QStringLiteral("0,125")), 1250);
    EXPECT_EQ(parseAmount(QStringLiteral("1,2345")), 12345);
    EXPECT_EQ(parseAmount(QStringLiteral("0,0001")), 1);
}

TEST(ParseAmount, AcceptsAnEmptySideOfTheComma) {
    EXPECT_EQ(parseAmount(QStringLiteral(",5")), 5000);
    EXPECT_EQ(parseAmount(QStringLiteral("5,")), 50000);
    EXPECT_EQ(parseAmount(QStringLiteral("-,5")), -5000);
}

TEST(ParseAmount, ReadsNegativeAmounts) {
    EXPECT_EQ(parseAmount(QStringLiteral("-3")), -30000);
    EXPECT_EQ(parseAmount(QStringLiteral("-0,01")), -100);
    EXPECT_EQ(parseAmount(QStringLiteral("-0")), 0);
}

TEST(ParseAmount, IgnoresSpacesAround) {
    EXPECT_EQ(parseAmount(QStringLiteral("  1028,80")), 10288000);
    EXPECT_EQ(parseAmount(QStringLiteral("1028,80  ")), 10288000);
    EXPECT_EQ(parseAmount(QStringLiteral("\t 12 \n")), 120000);
    EXPECT_EQ(parseAmount(QStringLiteral("     0,00")), 0);
}

TEST(ParseAmount, RoundsFifthDecimalHalfAwayFromZero) {
    EXPECT_EQ(parseAmount(QStringLiteral("0,00005")), 1);
    EXPECT_EQ(parseAmount(QStringLiteral("0,00004")), 0);
    EXPECT_EQ(parseAmount(QStringLiteral("0,000049999")), 0);
    EXPECT_EQ(parseAmount(QStringLiteral("1,23456")), 12346);
    EXPECT_EQ(parseAmount(QStringLiteral("1,23454")), 12345);
    EXPECT_EQ(parseAmount(QStringLiteral("-1,23455")), -12346);
    EXPECT_EQ(parseAmount(QStringLiteral("-1,23454999")), -12345);
    EXPECT_EQ(parseAmount(QStringLiteral("0,99995")), 10000);
    EXPECT_EQ(parseAmount(QStringLiteral("9,99999999999999999999")), 100000);
}

TEST(ParseAmount, RejectsWhatIsNotANumber) {
    for (const char* s :
         {"",   " ",        "   ",   "-",     ",",   "-,",  "abc", "12a", "a12",  "1.5",    "1.028,80",
          "+5", "1 028,80", "1,2,3", "12,,5", "--5", "- 5", "5-",  "1e3", "0x10", "12,5 €", "١٢"}) {
        EXPECT_FALSE(parseAmount(QString::fromUtf8(s)).has_value()) << s;
        EXPECT_FALSE(parseExact(QString::fromUtf8(s)).has_value()) << s;
    }
}

TEST(ParseAmount, ReadsTheLimitsOfTheRange) {
    // kMax = 922337203685477,5807 dirhams; kMin = -922337203685477,5808.
    EXPECT_EQ(parseAmount(QStringLiteral("922337203685477,5807")), kMax);
    EXPECT_EQ(parseAmount(QStringLiteral("-922337203685477,5808")), kMin);
    EXPECT_EQ(parseAmount(QStringLiteral("922337203685477,58069")), kMax);
    EXPECT_EQ(parseAmount(QStringLiteral("0000000000000000000000000001")), 10000);
}

TEST(ParseAmount, RejectsOverflow) {
    EXPECT_FALSE(parseAmount(QStringLiteral("922337203685477,5808")).has_value());
    EXPECT_FALSE(parseAmount(QStringLiteral("922337203685477,58075")).has_value());
    EXPECT_FALSE(parseAmount(QStringLiteral("-922337203685477,5809")).has_value());
    EXPECT_FALSE(parseAmount(QStringLiteral("922337203685478")).has_value());
    EXPECT_FALSE(parseAmount(QStringLiteral("1000000000000000")).has_value());
    EXPECT_FALSE(parseAmount(QStringLiteral("99999999999999999999999999")).has_value());
}

// ---- exact numbers: the product of a line's quantity and unit price ----

// Quantity x unit price, exactly, then rounded once to the cent as the line pointer proposes it.
TEST(ExactProduct, IsExactAndRoundedOnce) {
    const struct {
        const char *quantity, *price, *plain, *cents;
    } rows[] = {
        {"0,1249", "0,20", "0,02498", "0,02"}, // rounding to 0,0250 first would give 0,03
        {"0,333", "0,333", "0,110889", "0,11"},
        {"3", "12,5", "37,5", "37,50"},
        {"2,4", "12", "28,8", "28,80"},
        {"0,5", "0,2", "0,1", "0,10"},
        {"-1,5", "0,5", "-0,75", "-0,75"},
        {"-0,001", "5", "-0,005", "-0,01"}, // half away from zero
        {"0,00001", "0,5", "0,000005", "0,00"},
        {"1,234567891", "1", "1,234567891", "1,23"},
        {"  007,50 ", "-0", "0", "0,00"},
        {",5", "4,", "2", "2,00"},
        {"922337203685477,58", "1", "922337203685477,58", "922337203685477,58"},
        {"99999999999", "99999999999", "9999999999800000000001", nullptr}, // beyond the range of amounts
    };
    for (const auto& r : rows) {
        const auto q = parseExact(QString::fromLatin1(r.quantity));
        const auto p = parseExact(QString::fromLatin1(r.price));
        ASSERT_TRUE(q && p) << r.quantity << " x " << r.price;
        const auto product = multiplyExact(*q, *p);
        ASSERT_TRUE(product) << r.quantity << " x " << r.price;
        EXPECT_EQ(plainText(*product), QString::fromLatin1(r.plain)) << r.quantity << " x " << r.price;
        const auto cents = roundExact(*product, 2);
        EXPECT_EQ(cents ? formatAmount(*cents) : QString(), QString::fromLatin1(r.cents))
            << r.quantity << " x " << r.price;
    }
}

TEST(ExactProduct, RefusesFactorsTooLongToMultiplyQuickly) {
    const auto nines = parseExact(QString(kExactDigits / 2, u'9'));
    ASSERT_TRUE(nines);
    const auto square = multiplyExact(*nines, *nines);
    ASSERT_TRUE(square) << "as many digits as the limit";
    EXPECT_EQ(plainText(*square).size(), kExactDigits);
    const auto more = parseExact(QString(kExactDigits / 2 + 1, u'9'));
    EXPECT_FALSE(multiplyExact(*nines, *more).has_value());
}

TEST(ExactNumber, ReadsAnyLengthAndWritesItBackPlainly) {
    const struct {
        const char *text, *plain;
    } rows[] = {
        {"99999999999999999999999999", "99999999999999999999999999"},
        {"0,00000000000000000001", "0,00000000000000000001"},
        {"-0012,3400", "-12,34"},
        {"1000", "1000"},
        {"-0,000", "0"},
    };
    for (const auto& r : rows) {
        const auto x = parseExact(QString::fromLatin1(r.text));
        ASSERT_TRUE(x) << r.text;
        EXPECT_EQ(plainText(*x), QString::fromLatin1(r.plain)) << r.text;
    }
}

// ---- formatAmount ----

TEST(FormatAmount, WritesTwoDecimalsWithAComma) {
    EXPECT_EQ(formatAmount(0), QStringLiteral("0,00"));
    EXPECT_EQ(formatAmount(12345), QStringLiteral("1,23"));
    EXPECT_EQ(formatAmount(10288000), QStringLiteral("1028,80"));
    EXPECT_EQ(formatAmount(1234567890000), QStringLiteral("123456789,00"));
    EXPECT_EQ(formatAmount(100), QStringLiteral("0,01"));
    EXPECT_EQ(formatAmount(-30000), QStringLiteral("-3,00"));
}

TEST(FormatAmount, GroupsThousandsTheFrenchWay) {
    const QString nb = QLocale(QLocale::French).groupSeparator();
    EXPECT_EQ(formatGroupedAmount(0), QStringLiteral("0,00"));
    EXPECT_EQ(formatGroupedAmount(9999900), QStringLiteral("999,99"));
    EXPECT_EQ(formatGroupedAmount(10288000), QStringLiteral("1") + nb + QStringLiteral("028,80"));
    EXPECT_EQ(formatGroupedAmount(-1234567890000),
              QStringLiteral("-123") + nb + QStringLiteral("456") + nb + QStringLiteral("789,00"));
    EXPECT_EQ(formatGroupedAmount(-9999900), QStringLiteral("-999,99")) << "no separator after the sign";
}

TEST(FormatAmount, RoundsHalfAwayFromZero) {
    EXPECT_EQ(formatAmount(50), QStringLiteral("0,01"));
    EXPECT_EQ(formatAmount(49), QStringLiteral("0,00"));
    EXPECT_EQ(formatAmount(-50), QStringLiteral("-0,01"));
    EXPECT_EQ(formatAmount(12350), QStringLiteral("1,24"));
    EXPECT_EQ(formatAmount(-12350), QStringLiteral("-1,24"));
    EXPECT_EQ(formatAmount(99950), QStringLiteral("10,00"));
    EXPECT_EQ(formatAmount(-99950), QStringLiteral("-10,00"));
}

TEST(FormatAmount, NeverWritesNegativeZero) {
    EXPECT_EQ(formatAmount(-1), QStringLiteral("0,00"));
    EXPECT_EQ(formatAmount(-49), QStringLiteral("0,00"));
}

TEST(FormatAmount, WritesTheLimitsOfTheRange) {
    EXPECT_EQ(formatAmount(kMax), QStringLiteral("922337203685477,58"));
    EXPECT_EQ(formatAmount(kMin), QStringLiteral("-922337203685477,58"));
}

TEST(FormatAmount, ReadsBackWhatItWrites) {
    std::mt19937_64 rng(42);
    std::uniform_int_distribution<qint64> dist(-100000000000LL, 100000000000LL);
    for (int i = 0; i < 2000; ++i) {
        const qint64 cents = dist(rng);
        const Amount a = cents * 100;
        ASSERT_EQ(parseAmount(formatAmount(a)), a) << cents;
    }
}

// ---- reformatAmount ----

TEST(ReformatAmount, ReformatsNumbers) {
    EXPECT_EQ(reformatAmount(QStringLiteral("12,5")), QStringLiteral("12,50"));
    EXPECT_EQ(reformatAmount(QStringLiteral("  1028,8")), QStringLiteral("1028,80"));
    EXPECT_EQ(reformatAmount(QStringLiteral("-3")), QStringLiteral("-3,00"));
    EXPECT_EQ(reformatAmount(QStringLiteral("0,005")), QStringLiteral("0,01"));
    EXPECT_EQ(reformatAmount(QStringLiteral("0,125")), QStringLiteral("0,13"));
    EXPECT_EQ(reformatAmount(QStringLiteral(",5")), QStringLiteral("0,50"));
    EXPECT_EQ(reformatAmount(QStringLiteral("007")), QStringLiteral("7,00"));
}

TEST(ReformatAmount, LeavesOtherTextAlone) {
    EXPECT_FALSE(reformatAmount(QString()).has_value());
    EXPECT_FALSE(reformatAmount(QStringLiteral(" ")).has_value());
    EXPECT_FALSE(reformatAmount(QStringLiteral("1.5")).has_value());
    EXPECT_FALSE(reformatAmount(QStringLiteral("douze")).has_value());
}

// ---- padAmount ----

TEST(PadAmount, RightAlignsOnSixCharactersBeforeTheComma) {
    EXPECT_EQ(padAmount(QStringLiteral("0,00")), QStringLiteral("     0,00"));
    EXPECT_EQ(padAmount(QStringLiteral("12,00")), QStringLiteral("    12,00"));
    EXPECT_EQ(padAmount(QStringLiteral("123,00")), QStringLiteral("   123,00"));
    EXPECT_EQ(padAmount(QStringLiteral("1028,80")), QStringLiteral("  1028,80"));
    EXPECT_EQ(padAmount(QStringLiteral("12345,00")), QStringLiteral(" 12345,00"));
    EXPECT_EQ(padAmount(QStringLiteral("123456,00")), QStringLiteral("123456,00"));
    EXPECT_EQ(padAmount(QStringLiteral("1234567,00")), QStringLiteral("1234567,00"));
}

TEST(PadAmount, CountsTheMinusSign) {
    EXPECT_EQ(padAmount(QStringLiteral("-3,00")), QStringLiteral("    -3,00"));
    EXPECT_EQ(padAmount(QStringLiteral("-12345,00")), QStringLiteral("-12345,00"));
}

TEST(PadAmount, MeasuresTheWholeTextWithoutAComma) {
    EXPECT_EQ(padAmount(QStringLiteral(" ")), QStringLiteral("      "));
    EXPECT_EQ(padAmount(QStringLiteral("abc")), QStringLiteral("   abc"));
    EXPECT_EQ(padAmount(QStringLiteral("123456")), QStringLiteral("123456"));
    EXPECT_EQ(padAmount(QString()), QString());
}

TEST(PadAmount, LeavesTextWithNothingBeforeTheCommaAlone) {
    EXPECT_EQ(padAmount(QStringLiteral(",50")), QStringLiteral(",50"));
}

TEST(PadAmount, MeasuresUpToTheFirstComma) {
    EXPECT_EQ(padAmount(QStringLiteral("1,2,3")), QStringLiteral("     1,2,3"));
}

// ---- vatOf ----

TEST(VatOf, IsTwentyPercent) {
    EXPECT_EQ(vatOf(0), 0);
    EXPECT_EQ(vatOf(10000), 2000);           // 1 -> 0,2
    EXPECT_EQ(vatOf(10288000), 2057600);     // 1028,80 -> 205,76
    EXPECT_EQ(vatOf(1000000000), 200000000); // 100000 -> 20000
    EXPECT_EQ(vatOf(-10000), -2000);
}

TEST(VatOf, RoundsToFourDecimals) {
    EXPECT_EQ(vatOf(1), 0);        // 0,00002
    EXPECT_EQ(vatOf(2), 0);        // 0,00004
    EXPECT_EQ(vatOf(3), 1);        // 0,00006
    EXPECT_EQ(vatOf(4), 1);        // 0,00008
    EXPECT_EQ(vatOf(12345), 2469); // 1,2345 -> 0,2469
    EXPECT_EQ(vatOf(12348), 2470); // 0,24696
    EXPECT_EQ(vatOf(-3), -1);
    EXPECT_EQ(vatOf(-2), 0);
}

// The product HT x 0,2 of an amount with four decimals has a fifth decimal of 0, 2, 4, 6 or 8, never a half:
// the double computation must agree with exact integer rounding for every amount of a realistic size.
qint64 exactVat(qint64 ht) {
    const qint64 q = ht / 5;
    const qint64 r = ht % 5;
    if (r >= 3) return q + 1;
    if (r <= -3) return q - 1;
    return q;
}

TEST(VatOf, AgreesWithExactRounding) {
    for (qint64 ht = -200000; ht <= 200000; ++ht)
        ASSERT_EQ(vatOf(ht), exactVat(ht)) << ht;
    std::mt19937_64 rng(7);
    std::uniform_int_distribution<qint64> dist(-100000000000000LL,
                                               100000000000000LL); // +-10 000 000 000 dirhams
    for (int i = 0; i < 100000; ++i) {
        const qint64 ht = dist(rng);
        ASSERT_EQ(vatOf(ht), exactVat(ht)) << ht;
    }
}

TEST(VatOf, DoesNotOverflowAtTheLimits) {
    const Amount hi = vatOf(kMax);
    const Amount lo = vatOf(kMin);
    EXPECT_NEAR(double(hi.tenThousandths()), double(kMax) / 5, 1e4);
    EXPECT_NEAR(double(lo.tenThousandths()), double(kMin) / 5, 1e4);
}

} // namespace
} // namespace pylon
