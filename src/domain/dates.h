#pragma once
// Dates: stored in the database as ISO text 'YYYY-MM-DD', shown and typed as day/month/year (dd/MM/yyyy),
// whatever the machine's locale. Pure routines: no database, no widgets.
#include <QDate>
#include <QString>
#include <QVariant>
#include <optional>

namespace pylon::dates {

// A date typed by the user: "d/m/yyyy" or "d/m/yy" (one or two digits for day and month; '/', '-' or '.' as
// the separator, the same one twice; whitespace around allowed). Two-digit years 00-29 are 2000-2029, 30-99
// are 1930-1999; four-digit years are taken as they are. Also the ISO form "yyyy-mm-dd". nullopt for a date
// that is not in the calendar (31/2/2020, 29/2/2023) and for anything else.
std::optional<QDate> parseUserDate(const QString& text);

// The stored form "2026-12-07"; an empty string for an invalid date or a year outside 1-9999.
QString toStored(const QDate& d);

// A stored value: ISO text "YYYY-MM-DD", possibly followed by a time part ("2004-01-31 00:00:00",
// "2004-01-31T10:00:00") that is ignored, or a QDate / QDateTime. nullopt for anything else (NULL included).
std::optional<QDate> fromStored(const QVariant& v);

// The screen form "07/12/2026"; an empty string for an invalid date or a year outside 1-9999.
QString toScreen(const QDate& d);

// The number of days in the month of date: the day of the month of the day before day 1 of the next month
// (December rolls over to January of the next year). Returns true and sets days; on an invalid date returns
// false and leaves days unchanged.
bool DaysInMonth(const QDate& date, int& days);

} // namespace pylon::dates
