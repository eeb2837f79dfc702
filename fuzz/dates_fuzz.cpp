// Dates are typed as day/month/year, shown the same way and stored as ISO text; a date must come back
// unchanged from every one of these forms, and nothing outside the calendar may get in.
// Each input gives one Julian day (its first 8 bytes) and one arbitrary text (the rest).
#include "domain/dates.h"
#include "fuzz_support.h"

#include <QDateTime>

#include <limits>

namespace dates = pylon::dates;
using fuzz::require;
using fuzz::shown;

namespace {

QString describe(const QDate& d) {
    return QStringLiteral("%1-%2-%3 (jd %4)").arg(d.year()).arg(d.month()).arg(d.day()).arg(d.toJulianDay());
}

// Reads n ASCII digits at i; -1 when they are not all there.
int digitsAt(const QString& t, qsizetype i, qsizetype n) {
    if (i + n > t.size()) return -1;
    int v = 0;
    for (qsizetype k = i; k < i + n; ++k) {
        if (t[k] < u'0' || t[k] > u'9') return -1;
        v = v * 10 + (t[k].unicode() - u'0');
    }
    return v;
}

// Reads one or two ASCII digits at i and moves i past them; -1 when there is none.
int shortNumber(const QString& t, qsizetype& i) {
    const qsizetype n = digitsAt(t, i, 2) >= 0 ? 2 : 1;
    const int v = digitsAt(t, i, n);
    if (v >= 0) i += n;
    return v;
}

std::optional<QDate> calendar(int y, int m, int d) {
    const QDate date(y, m, d);
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

// An independent reading of a typed date, character by character.
std::optional<QDate> referenceParse(const QString& text) {
    const QString t = text.trimmed();
    qsizetype i = 0;
    if (const int year = digitsAt(t, 0, 4); year >= 0 && t.size() > 4 && t[4] == u'-') {
        i = 5;
        const int month = shortNumber(t, i);
        if (month < 0 || i >= t.size() || t[i] != u'-') return std::nullopt;
        ++i;
        const int day = shortNumber(t, i);
        if (day < 0 || i != t.size()) return std::nullopt;
        return calendar(year, month, day);
    }
    const int day = shortNumber(t, i);
    if (day < 0 || i >= t.size()) return std::nullopt;
    const QChar sep = t[i++];
    if (sep != u'/' && sep != u'.' && sep != u'-') return std::nullopt;
    const int month = shortNumber(t, i);
    if (month < 0 || i >= t.size() || t[i++] != sep) return std::nullopt;
    const qsizetype left = t.size() - i;
    if (left != 2 && left != 4) return std::nullopt;
    int year = digitsAt(t, i, left);
    if (year < 0) return std::nullopt;
    if (left == 2) year += year < 30 ? 2000 : 1900;
    return calendar(year, month, day);
}

// An independent reading of a stored text: "yyyy-mm-dd", then nothing or a time part after ' ' or 'T'.
std::optional<QDate> referenceStored(const QString& text) {
    const QString t = text.trimmed();
    if (t.size() < 10 || t[4] != u'-' || t[7] != u'-') return std::nullopt;
    if (t.size() > 10 && t[10] != u' ' && t[10] != u'T') return std::nullopt;
    const int y = digitsAt(t, 0, 4), m = digitsAt(t, 5, 2), d = digitsAt(t, 8, 2);
    if (y < 0 || m < 0 || d < 0) return std::nullopt;
    return calendar(y, m, d);
}

void checkDate(const QDate& d) {
    if (!d.isValid()) {
        int days = -7;
        require(!dates::DaysInMonth(d, days) && days == -7, "an invalid date has no month length");
        require(dates::toStored(d).isEmpty() && dates::toScreen(d).isEmpty(), "an invalid date has no text");
        return;
    }
    // DaysInMonth steps to the first of the next month, which QDate cannot hold after December of its last
    // year (2147483647): that one month has no length, everywhere else a valid date has one.
    int days = 0;
    const bool lastMonth = d.year() == std::numeric_limits<int>::max() && d.month() == 12;
    require(dates::DaysInMonth(d, days) != lastMonth, "a valid date has a month length", describe(d));
    if (!lastMonth)
        require(days >= 28 && days <= 31 && days == d.daysInMonth(), "the month length is the calendar's",
                describe(d) + QStringLiteral(": ") + QString::number(days));

    const bool printable = d.year() >= 1 && d.year() <= 9999;
    const QString stored = dates::toStored(d);
    const QString screen = dates::toScreen(d);
    require(stored.isEmpty() != printable && screen.isEmpty() != printable,
            "text exactly for years 1 to 9999", describe(d));
    require(dates::fromStored(QVariant(d)) == d, "a QDate is read as it is", describe(d));
    if (!printable) {
        require(!dates::fromStored(QVariant(stored)), "no date from an empty text");
        return;
    }
    require(stored.size() == 10 && screen.size() == 10, "ten characters", stored + u' ' + screen);
    require(dates::fromStored(QVariant(stored)) == d, "fromStored(toStored(d)) == d",
            describe(d) + u' ' + stored);
    require(dates::fromStored(QVariant(stored + QStringLiteral(" 12:34:56"))) == d, "a time part is ignored",
            describe(d));
    require(dates::fromStored(QVariant(QDateTime(d, QTime(23, 59), Qt::UTC))) == d,
            "a QDateTime gives its date", describe(d));
    require(dates::parseUserDate(screen) == d, "parseUserDate(toScreen(d)) == d",
            describe(d) + u' ' + screen);
    require(dates::parseUserDate(stored) == d, "the ISO form is accepted as typed",
            describe(d) + u' ' + stored);
}

void checkText(const QString& text) {
    const std::optional<QDate> typed = dates::parseUserDate(text);
    const std::optional<QDate> ref = referenceParse(text);
    require(typed == ref, "parseUserDate agrees with the character-by-character reading",
            shown(text) + QStringLiteral(" -> ") + (typed ? describe(*typed) : QStringLiteral("nullopt")) +
                QStringLiteral(" instead of ") + (ref ? describe(*ref) : QStringLiteral("nullopt")));
    if (typed) {
        require(typed->isValid() && typed->year() >= 1 && typed->year() <= 9999, "a typed date is printable",
                shown(text));
        checkDate(*typed);
    }

    const std::optional<QDate> stored = dates::fromStored(QVariant(text));
    require(stored == referenceStored(text), "fromStored agrees with the character-by-character reading",
            shown(text));
    if (stored) {
        require(stored->isValid(), "a stored date is valid", shown(text));
        require(dates::toStored(*stored) == text.trimmed().left(10),
                "the stored text is the ISO date it starts with",
                shown(text) + QStringLiteral(" -> ") + describe(*stored));
    }
    require(dates::fromStored(QVariant(text.toUtf8())) == stored, "bytes and text read alike", shown(text));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    const qint64 jd = in.take<int64_t>();
    checkDate(QDate::fromJulianDay(jd));
    // The days of years 1 to 9999 (Julian days 1721426 to 5373484), where the program's dates live.
    checkDate(QDate::fromJulianDay(1721426 + (jd % 3652059 + 3652059) % 3652059));
    checkText(in.text());
    return 0;
}
