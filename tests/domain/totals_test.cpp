#include "domain/totals.h"

#include <gtest/gtest.h>

using namespace pylon;

namespace {

struct Case {
    const char* name;
    QStringList amounts;
    std::optional<Amount> ht, tva, ttc;
};

class TotalsOf : public ::testing::TestWithParam<Case> {};

TEST_P(TotalsOf, SumsTheLinesAndTheTax) {
    const Totals t = totalsOf(GetParam().amounts);
    EXPECT_EQ(t.ht, GetParam().ht);
    EXPECT_EQ(t.tva, GetParam().tva);
    EXPECT_EQ(t.ttc, GetParam().ttc);
}

constexpr qint64 kMax = std::numeric_limits<qint64>::max();

INSTANTIATE_TEST_SUITE_P(
    Lines, TotalsOf,
    ::testing::Values(Case{"NoLine", {}, 0, 0, 0},
                      Case{"WorkedExample", {"  1000,00", "    28,80"}, 10288000, 2057600, 12345600},
                      Case{"EmptyCellsAddNothing", {" ", "", "abc", "5,00"}, 50000, 10000, 60000},
                      // Two lines of 500 000 000 000 000 dirhams go beyond the range: nothing is computed.
                      Case{"SumBeyondTheRange", {"500000000000000", "500000000000000"}, {}, {}, {}},
                      // The sum fits, the tax too, but not the total with tax.
                      Case{"OnlyTheTotalWithTaxOverflows",
                           {QString::number(kMax / 10000 - 1)},
                           (kMax / 10000 - 1) * 10000,
                           vatOf((kMax / 10000 - 1) * 10000),
                           {}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
