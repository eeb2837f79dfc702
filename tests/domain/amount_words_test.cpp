#include "domain/amount_words.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace pylon {
namespace {

// The expected words, with the one trailing space every non-empty result ends with.
QString words(const char* w) {
    const QString s = QString::fromUtf8(w);
    return s.isEmpty() ? s : s + u' ';
}

struct WordsCase {
    double x;
    const char* expected;
};

void PrintTo(const WordsCase& c, std::ostream* os) {
    *os << std::fixed << c.x;
}

class AmountInWordsTable : public testing::TestWithParam<WordsCase> {};

TEST_P(AmountInWordsTable, Writes) {
    EXPECT_EQ(AmountInWords(GetParam().x), words(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Examples, AmountInWordsTable,
    testing::Values(
        WordsCase{0, ""}, WordsCase{1, ""}, WordsCase{2, "Deux"}, WordsCase{9, "Neuf"}, WordsCase{10, "Dix"},
        WordsCase{11, "Onze"}, WordsCase{16, "Seize"}, WordsCase{17, "Dix-sept"}, WordsCase{19, "Dix-neuf"},
        WordsCase{20, "Vingt"}, WordsCase{21, "Vingt un"}, WordsCase{30, "Trente"},
        WordsCase{45, "Quarante cinq"}, WordsCase{56, "Cinquante six"}, WordsCase{60, "Soixante"},
        WordsCase{70, "Soixante dix"}, WordsCase{71, "Soixante onze"}, WordsCase{77, "Soixante dix-sept"},
        WordsCase{80, "Quatre-vingt"}, WordsCase{81, "Quatre-vingt un"}, WordsCase{90, "Quatre-vingt dix"},
        WordsCase{91, "Quatre-vingt onze"}, WordsCase{99, "Quatre-vingt dix-neuf"}, WordsCase{100, "Cent"},
        WordsCase{101, "Cent un"}, WordsCase{110, "Cent dix"}, WordsCase{180, "Cent quatre-vingt"},
        WordsCase{201, "Deux cent un"}, WordsCase{999, "Neuf cent quatre-vingt dix-neuf"},
        WordsCase{1000, "Mille"}, WordsCase{1001, "Mille un"}, WordsCase{1100, "Mille cent"},
        WordsCase{1234, "Mille deux cent trente quatre"}, WordsCase{2000, "Deux mille"},
        WordsCase{10000, "Dix mille"}, WordsCase{11000, "Onze mille"}, WordsCase{17000, "Dix-sept mille"},
        WordsCase{21000, "Vingt un mille"}, WordsCase{71000, "Soixante onze mille"},
        WordsCase{80000, "Quatre-vingt mille"}, WordsCase{100000, "Cent mille"},
        WordsCase{200000, "Deux cent mille"}, WordsCase{101000, "Cent un mille"},
        WordsCase{1000000, "Million"}, WordsCase{2000000, "Deux million"}, WordsCase{1000010, "Million dix"},
        WordsCase{1001000, "Million un mille"}, WordsCase{1002003, "Million deux mille trois"},
        WordsCase{1000000000, "Millard"}, WordsCase{3000000000, "Trois millard"},
        WordsCase{1000000000000, "Mille"}, WordsCase{5000000000000, "Cinq mille"},
        WordsCase{999999999999999, "Neuf cent quatre-vingt dix-neuf mille neuf cent quatre-vingt "
                                   "dix-neuf millard neuf cent quatre-vingt dix-neuf million neuf "
                                   "cent quatre-vingt dix-neuf mille neuf cent quatre-vingt dix-neuf"}));

TEST(AmountInWords, EndsWithOneSpace) {
    EXPECT_EQ(AmountInWords(2), QStringLiteral("Deux "));
    EXPECT_EQ(AmountInWords(1234), QStringLiteral("Mille deux cent trente quatre "));
}

TEST(AmountInWords, ReadsTheIntegerPartOnly) {
    EXPECT_EQ(AmountInWords(12.99), AmountInWords(12));
    EXPECT_EQ(AmountInWords(12.99), QStringLiteral("Douze "));
    EXPECT_EQ(AmountInWords(0.99), QString());
    EXPECT_EQ(AmountInWords(1.5), QString());
    EXPECT_EQ(AmountInWords(1999.999), AmountInWords(1999));
}

TEST(AmountInWords, CountsTheMinusSignAsAZeroDigit) {
    EXPECT_EQ(AmountInWords(-6), QStringLiteral("Six "));
    EXPECT_EQ(AmountInWords(-6), AmountInWords(6));
    EXPECT_EQ(AmountInWords(-21), QStringLiteral("Vingt un "));
    // floor(-5.5) is -6.
    EXPECT_EQ(AmountInWords(-5.5), QStringLiteral("Six "));
    // The '-' stands before the leading 1, which is therefore written.
    EXPECT_EQ(AmountInWords(-1), QStringLiteral("Un "));
    EXPECT_EQ(AmountInWords(-1000), QStringLiteral("Un mille "));
    EXPECT_EQ(AmountInWords(-0.0), QString());
}

TEST(AmountInWords, FailsBeyondTheScaleTable) {
    const QString error = QStringLiteral("Une Erreur !");
    EXPECT_EQ(AmountInWords(1e15), error); // "1000000000000000": 16 characters
    EXPECT_EQ(AmountInWords(1234567890123456.0), error);
    EXPECT_EQ(AmountInWords(1e18), error);
    EXPECT_EQ(AmountInWords(1e300), error);
    EXPECT_EQ(AmountInWords(std::pow(2.0, 60)), error);
    EXPECT_EQ(AmountInWords(-1e14), error); // "-100000000000000": 16 characters
    EXPECT_EQ(AmountInWords(-1e300), error);
    EXPECT_NE(AmountInWords(-99999999999999.0), error); // 15 characters
    EXPECT_NE(AmountInWords(999999999999999.0), error); // 15 characters
    EXPECT_NE(AmountInWords(999999999999999.5), error); // floor: 15 characters
}

TEST(AmountInWords, FailsOnNonFiniteValues) {
    const QString error = QStringLiteral("Une Erreur !");
    EXPECT_EQ(AmountInWords(std::numeric_limits<double>::infinity()), error);
    EXPECT_EQ(AmountInWords(-std::numeric_limits<double>::infinity()), error);
    EXPECT_EQ(AmountInWords(std::numeric_limits<double>::quiet_NaN()), error);
}

TEST(AmountInWords, DropsTheScaleWordOfAnAllZeroGroupOnly) {
    EXPECT_EQ(AmountInWords(1000001), QStringLiteral("Million un "));
    EXPECT_EQ(AmountInWords(1100000), QStringLiteral("Million cent mille "));
    EXPECT_EQ(AmountInWords(1010000), QStringLiteral("Million dix mille "));
    EXPECT_EQ(AmountInWords(1020000), QStringLiteral("Million vingt mille "));
    EXPECT_EQ(AmountInWords(2000000000), QStringLiteral("Deux millard "));
    EXPECT_EQ(AmountInWords(2000000001), QStringLiteral("Deux millard un "));
}

// ---- TotalInWords ----

TEST(TotalInWords, WritesDirhamsAndCentimes) {
    EXPECT_EQ(TotalInWords(QStringLiteral("1234,56")),
              QStringLiteral("Mille deux cent trente quatre dirhams\r\nEt Cinquante six centimes."));
    EXPECT_EQ(TotalInWords(QStringLiteral("2,10")), QStringLiteral("Deux dirhams\r\nEt Dix centimes."));
    EXPECT_EQ(TotalInWords(QStringLiteral("80,99")),
              QStringLiteral("Quatre-vingt dirhams\r\nEt Quatre-vingt dix-neuf centimes."));
}

TEST(TotalInWords, WritesRoundAmountsOnOneLine) {
    EXPECT_EQ(TotalInWords(QStringLiteral("2000,00")), QStringLiteral("Deux mille dirhams."));
    EXPECT_EQ(TotalInWords(QStringLiteral("1000,00")), QStringLiteral("Mille dirhams."));
    EXPECT_EQ(TotalInWords(QStringLiteral("2,00")), QStringLiteral("Deux dirhams."));
    EXPECT_EQ(TotalInWords(QStringLiteral("1,00")), QStringLiteral("Un dirham."));
}

TEST(TotalInWords, WritesNothingForAZeroTotal) {
    EXPECT_EQ(TotalInWords(QStringLiteral("0,00")), QString());
    EXPECT_EQ(TotalInWords(QStringLiteral("0")), QString());
}

TEST(TotalInWords, WritesOneDirham) {
    EXPECT_EQ(TotalInWords(QStringLiteral("1,50")), QStringLiteral("Un dirham\r\nEt Cinquante centimes."));
    EXPECT_EQ(TotalInWords(QStringLiteral("1,01")), QStringLiteral("Un dirham\r\nEt Un centime."));
}

TEST(TotalInWords, WritesCentimesAloneUnderOneDirham) {
    EXPECT_EQ(TotalInWords(QStringLiteral("0,56")), QStringLiteral("Cinquante six centimes."));
    EXPECT_EQ(TotalInWords(QStringLiteral("0,01")), QStringLiteral("Un centime."));
    EXPECT_EQ(TotalInWords(QStringLiteral("0,02")), QStringLiteral("Deux centimes."));
    EXPECT_EQ(TotalInWords(QStringLiteral("0,10")), QStringLiteral("Dix centimes."));
}

TEST(TotalInWords, ReadsOneCentimeAsTheSingular) {
    EXPECT_EQ(TotalInWords(QStringLiteral("12,01")), QStringLiteral("Douze dirhams\r\nEt Un centime."));
}

TEST(TotalInWords, ReadsATextWithoutACommaAsWholeDirhams) {
    EXPECT_EQ(TotalInWords(QStringLiteral("2000")), QStringLiteral("Deux mille dirhams."));
    EXPECT_EQ(TotalInWords(QStringLiteral("1")), QStringLiteral("Un dirham."));
}

TEST(TotalInWords, AcceptsPaddingAndShortDecimals) {
    EXPECT_EQ(TotalInWords(QStringLiteral("  1234,56")), TotalInWords(QStringLiteral("1234,56")));
    EXPECT_EQ(TotalInWords(QStringLiteral("12,5")),
              QStringLiteral("Douze dirhams\r\nEt Cinquante centimes."));
    EXPECT_EQ(TotalInWords(QStringLiteral("12,999")), QStringLiteral("Treize dirhams."));
}

TEST(TotalInWords, WritesNegativeTotalsThroughTheGeneralCase) {
    EXPECT_EQ(TotalInWords(QStringLiteral("-12,50")),
              QStringLiteral("Douze dirhams\r\nEt Cinquante centimes."));
    EXPECT_EQ(TotalInWords(QStringLiteral("-12,00")), QStringLiteral("Douze dirhams."));
    EXPECT_EQ(TotalInWords(QStringLiteral("-0,50")), QStringLiteral("Cinquante centimes."));
}

TEST(TotalInWords, WritesNothingForATextThatIsNotAnAmount) {
    for (const char* s : {"", " ", "abc", "1.5", "12,5,0", "+3"})
        EXPECT_EQ(TotalInWords(QString::fromUtf8(s)), QString()) << s;
}

} // namespace
} // namespace pylon
