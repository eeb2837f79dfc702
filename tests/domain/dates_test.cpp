#include "domain/dates.h"

#include <QDateTime>
#include <QLocale>
#include <gtest/gtest.h>

namespace pylon::dates {
namespace {

std::optional<QDate> date(int y, int m, int d) {
    return QDate(y, m, d);
}

// ---- parseUserDate ----

TEST(ParseUserDate, ReadsDayMonthYear) {
    EXPECT_EQ(parseUserDate(QStringLiteral("07/12/2026")), date(2026, 12, 7));
    EXPECT_EQ(parseUserDate(QStringLiteral("7/12/2026")), date(2026, 12, 7));
    EXPECT_EQ(parseUserDate(QStringLiteral("7/2/2026")), date(2026, 2, 7));
    EXPECT_EQ(parseUserDate(QStringLiteral("31/12/1999")), date(1999, 12, 31));
    EXPECT_EQ(parseUserDate(QStringLiteral("01/01/0001")), date(1, 1, 1));
}

TEST(ParseUserDate, AcceptsDashesAndDots) {
    EXPECT_EQ(parseUserDate(QStringLiteral("07-12-2026")), date(2026, 12, 7));
    EXPECT_EQ(parseUserDate(QStringLiteral("7.12.2026")), date(2026, 12, 7));
    EXPECT_EQ(parseUserDate(QStringLiteral("7.12.26")), date(2026, 12, 7));
}

TEST(ParseUserDate, IgnoresSpacesAround) {
    EXPECT_EQ(parseUserDate(QStringLiteral("  07/12/2026 ")), date(2026, 12, 7));
    EXPECT_EQ(parseUserDate(QStringLiteral("\t7/12/26\n")), date(2026, 12, 7));
}

TEST(ParseUserDate, PivotsTwoDigitYears) {
    EXPECT_EQ(parseUserDate(QStringLiteral("1/1/00")), date(2000, 1, 1));
    EXPECT_EQ(parseUserDate(QStringLiteral("1/1/26")), date(2026, 1, 1));
    EXPECT_EQ(parseUserDate(QStringLiteral("1/1/29")), date(2029, 1, 1));
    EXPECT_EQ(parseUserDate(QStringLiteral("1/1/30")), date(1930, 1, 1));
    EXPECT_EQ(parseUserDate(QStringLiteral("1/1/99")), date(1999, 1, 1));
    EXPECT_EQ(parseUserDate(QStringLiteral("31/12/29")), date(2029, 12, 31));
}

TEST(ParseUserDate, TakesFourDigitYearsAsTheyAre) {
    EXPECT_EQ(parseUserDate(QStringLiteral("1/1/0029")), date(29, 1, 1));
    EXPECT_EQ(parseUserDate(QStringLiteral("1/1/1929")), date(1929, 1, 1));
    EXPECT_EQ(parseUserDate(QStringLiteral("1/1/2030")), date(2030, 1, 1));
}

TEST(ParseUserDate, ReadsIsoDates) {
    EXPECT_EQ(parseUserDate(QStringLiteral("2026-12-07")), date(2026, 12, 7));
    EXPECT_EQ(parseUserDate(QStringLiteral(" 2024-02-29 ")), date(2024, 2, 29));
    EXPECT_FALSE(parseUserDate(QStringLiteral("2023-02-29")).has_value());
    EXPECT_FALSE(parseUserDate(QStringLiteral("2026-13-01")).has_value());
}

TEST(ParseUserDate, KnowsLeapYears) {
    EXPECT_EQ(parseUserDate(QStringLiteral("29/2/2024")), date(2024, 2, 29));
    EXPECT_EQ(parseUserDate(QStringLiteral("29/02/2000")), date(2000, 2, 29));
    EXPECT_EQ(parseUserDate(QStringLiteral("29/2/00")), date(2000, 2, 29));
    EXPECT_FALSE(parseUserDate(QStringLiteral("29/2/2023")).has_value());
    EXPECT_FALSE(parseUserDate(QStringLiteral("29/2/2100")).has_value());
    EXPECT_FALSE(parseUserDate(QStringLiteral("29/2/1900")).has_value());
    EXPECT_FALSE(parseUserDate(QStringLiteral("30/2/2024")).has_value());
}

TEST(ParseUserDate, RejectsDatesOutsideTheCalendar) {
    for (const char* s : {"31/2/2020", "31/4/2026", "31/6/2026", "31/9/2026", "31/11/2026", "0/1/2026",
                          "1/0/2026", "32/1/2026", "1/13/2026", "00/00/0000", "1/1/0000"}) {
        EXPECT_FALSE(parseUserDate(QString::fromUtf8(s)).has_value()) << s;
    }
    EXPECT_EQ(parseUserDate(QStringLiteral("31/12/2026")), date(2026, 12, 31));
    EXPECT_EQ(parseUserDate(QStringLiteral("1/12/2026")), date(2026, 12, 1));
}

TEST(ParseUserDate, RejectsGarbage) {
    for (const char* s : {"",
                          " ",
                          "abc",
                          "07/12",
                          "07/12/",
                          "/12/2026",
                          "07//2026",
                          "7/12/202",
                          "7/12/20266",
                          "7/12/2",
                          "007/12/2026",
                          "7/012/2026",
                          "7/12-2026",
                          "7-12/2026",
                          "7 12 2026",
                          "07122026",
                          "7/12/2026 10:00",
                          "7 /12/2026",
                          "+7/12/2026",
                          "-7/12/2026",
                          "7/-12/2026",
                          "2026/12/07",
                          "26-12-07x",
                          "2026-12-07T00:00",
                          "le 7 décembre",
                          "٧/١٢/٢٠٢٦",
                          "7,12,2026"}) {
        EXPECT_FALSE(parseUserDate(QString::fromUtf8(s)).has_value()) << s;
    }
}

TEST(ParseUserDate, DoesNotDependOnTheLocale) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(parseUserDate(QStringLiteral("07/12/2026")), date(2026, 12, 7));
    EXPECT_EQ(toScreen(QDate(2026, 12, 7)), QStringLiteral("07/12/2026"));
    QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Morocco));
    EXPECT_EQ(parseUserDate(QStringLiteral("07/12/2026")), date(2026, 12, 7));
    EXPECT_EQ(toScreen(QDate(2026, 12, 7)), QStringLiteral("07/12/2026"));
    EXPECT_EQ(toStored(QDate(2026, 12, 7)), QStringLiteral("2026-12-07"));
    QLocale::setDefault(saved);
}

// ---- toStored / fromStored ----

TEST(ToStored, WritesIsoText) {
    EXPECT_EQ(toStored(QDate(2026, 12, 7)), QStringLiteral("2026-12-07"));
    EXPECT_EQ(toStored(QDate(2004, 1, 31)), QStringLiteral("2004-01-31"));
    EXPECT_EQ(toStored(QDate(999, 5, 6)), QStringLiteral("0999-05-06"));
}

TEST(ToStored, WritesNothingForAnInvalidDate) {
    EXPECT_EQ(toStored(QDate()), QString());
    EXPECT_EQ(toStored(QDate(2023, 2, 29)), QString());
    EXPECT_EQ(toStored(QDate(10000, 1, 1)), QString());
    EXPECT_EQ(toStored(QDate(-5, 1, 1)), QString());
}

TEST(FromStored, ReadsIsoText) {
    EXPECT_EQ(fromStored(QStringLiteral("2026-12-07")), date(2026, 12, 7));
    EXPECT_EQ(fromStored(QByteArray("2026-12-07")), date(2026, 12, 7));
    EXPECT_EQ(fromStored(QStringLiteral("2024-02-29")), date(2024, 2, 29));
}

TEST(FromStored, IgnoresATimePart) {
    EXPECT_EQ(fromStored(QStringLiteral("2004-01-31 00:00:00")), date(2004, 1, 31));
    EXPECT_EQ(fromStored(QStringLiteral("2004-01-31T12:30:00")), date(2004, 1, 31));
    EXPECT_EQ(fromStored(QStringLiteral("2004-01-31 00:00:00.000")), date(2004, 1, 31));
}

TEST(FromStored, ReadsDates) {
    EXPECT_EQ(fromStored(QVariant(QDate(2026, 12, 7))), date(2026, 12, 7));
    EXPECT_EQ(fromStored(QVariant(QDateTime(QDate(2026, 12, 7), QTime(23, 59)))), date(2026, 12, 7));
    EXPECT_FALSE(fromStored(QVariant(QDate())).has_value());
}

TEST(FromStored, RejectsEverythingElse) {
    EXPECT_FALSE(fromStored(QVariant()).has_value());
    EXPECT_FALSE(fromStored(QVariant(QMetaType::fromType<QString>())).has_value()); // NULL text
    EXPECT_FALSE(fromStored(QVariant(20261207)).has_value());
    EXPECT_FALSE(fromStored(QVariant(3.5)).has_value());
    for (const char* s :
         {"", "garbage", "07/12/2026", "2026-12-7", "2026-2-07", "26-12-07", "2026-12-07x", "2026-02-30",
          "2023-02-29", "2026-13-01", "2026-00-10", "2026-12-00", "2026/12/07", "20261207"}) {
        EXPECT_FALSE(fromStored(QString::fromUtf8(s)).has_value()) << s;
    }
}

TEST(FromStored, ReadsBackWhatToStoredWrites) {
    for (QDate d(1999, 12, 25); d <= QDate(2001, 3, 5); d = d.addDays(1))
        ASSERT_EQ(fromStored(toStored(d)), d);
}

// ---- toScreen ----

TEST(ToScreen, WritesDayMonthYear) {
    EXPECT_EQ(toScreen(QDate(2026, 12, 7)), QStringLiteral("07/12/2026"));
    EXPECT_EQ(toScreen(QDate(2004, 1, 31)), QStringLiteral("31/01/2004"));
    EXPECT_EQ(toScreen(QDate(2024, 2, 29)), QStringLiteral("29/02/2024"));
    EXPECT_EQ(toScreen(QDate()), QString());
}

TEST(ToScreen, ReadsBackThroughParseUserDate) {
    for (QDate d(1999, 12, 25); d <= QDate(2001, 3, 5); d = d.addDays(1))
        ASSERT_EQ(parseUserDate(toScreen(d)), d);
}

// ---- DaysInMonth ----

TEST(DaysInMonth, CountsTheDaysOfEachMonth) {
    const int expected[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int m = 1; m <= 12; ++m) {
        int days = 0;
        ASSERT_TRUE(DaysInMonth(QDate(2026, m, 15), days)) << m;
        EXPECT_EQ(days, expected[m - 1]) << m;
    }
}

TEST(DaysInMonth, KnowsLeapYears) {
    int days = 0;
    EXPECT_TRUE(DaysInMonth(QDate(2024, 2, 1), days));
    EXPECT_EQ(days, 29);
    EXPECT_TRUE(DaysInMonth(QDate(2000, 2, 29), days));
    EXPECT_EQ(days, 29);
    EXPECT_TRUE(DaysInMonth(QDate(2100, 2, 28), days));
    EXPECT_EQ(days, 28);
    EXPECT_TRUE(DaysInMonth(QDate(2023, 2, 10), days));
    EXPECT_EQ(days, 28);
}

TEST(DaysInMonth, RollsDecemberOverToTheNextYear) {
    int days = 0;
    EXPECT_TRUE(DaysInMonth(QDate(2026, 12, 31), days));
    EXPECT_EQ(days, 31);
    EXPECT_TRUE(DaysInMonth(QDate(9999, 12, 1), days));
    EXPECT_EQ(days, 31);
    EXPECT_TRUE(DaysInMonth(QDate(-1, 12, 1), days)); // the year after 1 BC is AD 1
    EXPECT_EQ(days, 31);
}

TEST(DaysInMonth, LeavesDaysAloneOnAnInvalidDate) {
    int days = 42;
    EXPECT_FALSE(DaysInMonth(QDate(), days));
    EXPECT_EQ(days, 42);
    EXPECT_FALSE(DaysInMonth(QDate(2023, 2, 29), days));
    EXPECT_EQ(days, 42);
}

} // namespace
} // namespace pylon::dates
