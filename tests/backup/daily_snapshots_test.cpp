// Which snapshots are kept: the program run on a year of working days, one snapshot a day, the rule
// applied after each; and what a clock put back leaves alone.
#include "backup/daily_snapshots.h"

#include <gtest/gtest.h>

using namespace pylon;

namespace {

QDate day(const char* iso) {
    return QDate::fromString(QString::fromLatin1(iso), Qt::ISODate);
}

std::vector<QDate> days(std::initializer_list<const char*> isos) {
    std::vector<QDate> out;
    for (const char* iso : isos)
        out.push_back(day(iso));
    return out;
}

// Used every day but Sunday, closed for the first half of August.
bool workingDay(const QDate& d) {
    return d.dayOfWeek() != Qt::Sunday && !(d >= day("2026-08-03") && d <= day("2026-08-16"));
}

std::vector<QDate> keptAfterRunningUntil(const QDate& last) {
    std::vector<QDate> kept;
    for (QDate d = day("2026-01-01"); d <= last; d = d.addDays(1)) {
        if (!workingDay(d)) continue;
        kept.push_back(d);
        for (const QDate& gone : daily_snapshots::toDelete(kept, d))
            std::erase(kept, gone);
    }
    return kept;
}

struct YearCase {
    const char* today;
    std::vector<QDate> kept;
};

class SnapshotsOverAYear : public ::testing::TestWithParam<YearCase> {};

TEST_P(SnapshotsOverAYear, KeepTheLastSevenAndTheFirstOfTwelveMonths) {
    EXPECT_EQ(keptAfterRunningUntil(day(GetParam().today)), GetParam().kept);
}

INSTANTIATE_TEST_SUITE_P(
    Days, SnapshotsOverAYear,
    ::testing::Values(
        YearCase{"2026-01-05", days({"2026-01-01", "2026-01-02", "2026-01-03", "2026-01-05"})},
        // The eighth day lets the second go, but the first of the month stays.
        YearCase{"2026-01-12", days({"2026-01-01", "2026-01-05", "2026-01-06", "2026-01-07", "2026-01-08",
                                     "2026-01-09", "2026-01-10", "2026-01-12"})},
        // February and March begin on a Sunday: their first snapshot is the Monday's.
        YearCase{"2026-03-02", days({"2026-01-01", "2026-02-02", "2026-02-23", "2026-02-24", "2026-02-25",
                                     "2026-02-26", "2026-02-27", "2026-02-28", "2026-03-02"})},
        // Back from two weeks off: the seven latest snapshots reach into July.
        YearCase{"2026-08-17", days({"2026-01-01", "2026-02-02", "2026-03-02", "2026-04-01", "2026-05-01",
                                     "2026-06-01", "2026-07-01", "2026-07-27", "2026-07-28", "2026-07-29",
                                     "2026-07-30", "2026-07-31", "2026-08-01", "2026-08-17"})},
        YearCase{"2026-12-31", days({"2026-01-01", "2026-02-02", "2026-03-02", "2026-04-01", "2026-05-01",
                                     "2026-06-01", "2026-07-01", "2026-08-01", "2026-09-01", "2026-10-01",
                                     "2026-11-02", "2026-12-01", "2026-12-24", "2026-12-25", "2026-12-26",
                                     "2026-12-28", "2026-12-29", "2026-12-30", "2026-12-31"})},
        // Twelve months on, January and February of the year before go.
        YearCase{"2027-02-01",
                 days({"2026-03-02", "2026-04-01", "2026-05-01", "2026-06-01", "2026-07-01", "2026-08-01",
                       "2026-09-01", "2026-10-01", "2026-11-02", "2026-12-01", "2027-01-01", "2027-01-25",
                       "2027-01-26", "2027-01-27", "2027-01-28", "2027-01-29", "2027-01-30", "2027-02-01"})}),
    [](const auto& info) {
        return QString::fromLatin1(info.param.today).remove(QLatin1Char('-')).toStdString();
    });

// A clock put back a year: the snapshots of the "future" are neither deleted nor counted among the seven,
// so the days now being worked are kept.
TEST(SnapshotsOverAYear, DatedAfterTodayAreLeftAlone) {
    const std::vector<QDate> existing =
        days({"2026-05-01", "2026-05-02", "2026-05-04", "2026-05-05", "2026-05-06", "2026-05-07",
              "2026-05-08", "2026-05-09", "2026-05-11", "2027-05-01", "2027-05-02"});
    EXPECT_EQ(daily_snapshots::toDelete(existing, day("2026-05-11")), days({"2026-05-02"}));
}

} // namespace
