#include "domain/dates.h"

#include <QDateTime>
#include <QMetaType>
#include <QRegularExpression>

namespace pylon::dates {

namespace {

std::optional<QDate> validDate(int y, int m, int d) {
    const QDate date(y, m, d);
    if (!date.isValid()) return std::nullopt;
    return date;
}

bool printableYear(const QDate& d) {
    return d.isValid() && d.year() >= 1 && d.year() <= 9999;
}

QString twoDigits(int v) {
    return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
}

} // namespace

std::optional<QDate> parseUserDate(const QString& text) {
    // ASCII digits only: [0-9], never \d (which would take other scripts' digits).
    static const QRegularExpression userForm(
        QStringLiteral("^([0-9]{1,2})([/.-])([0-9]{1,2})\\2([0-9]{2}|[0-9]{4})$"));
    static const QRegularExpression isoForm(QStringLiteral("^([0-9]{4})-([0-9]{1,2})-([0-9]{1,2})$"));

    const QString t = text.trimmed();
    if (const QRegularExpressionMatch m = isoForm.match(t); m.hasMatch())
        return validDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    const QRegularExpressionMatch m = userForm.match(t);
    if (!m.hasMatch()) return std::nullopt;
    const QString yearText = m.captured(4);
    int year = yearText.toInt();
    if (yearText.size() == 2) year += year < 30 ? 2000 : 1900;
    return validDate(year, m.captured(3).toInt(), m.captured(1).toInt());
}

QString toStored(const QDate& d) {
    if (!printableYear(d)) return QString();
    return QStringLiteral("%1-%2-%3")
        .arg(d.year(), 4, 10, QLatin1Char('0'))
        .arg(twoDigits(d.month()), twoDigits(d.day()));
}

std::optional<QDate> fromStored(const QVariant& v) {
    if (!v.isValid() || v.isNull()) return std::nullopt;
    switch (v.typeId()) {
    case QMetaType::QDate: {
        const QDate d = v.toDate();
        if (!d.isValid()) return std::nullopt;
        return d;
    }
    case QMetaType::QDateTime: {
        const QDate d = v.toDateTime().date();
        if (!d.isValid()) return std::nullopt;
        return d;
    }
    case QMetaType::QString:
    case QMetaType::QByteArray:
        break;
    default:
        return std::nullopt;
    }
    // The common case, 'YYYY-MM-DD' exactly, read without a regular expression: lists read it per row.
    if (v.typeId() == QMetaType::QString) {
        const QString t = v.toString();
        auto digit = [&t](int i) { return t[i].unicode() >= '0' && t[i].unicode() <= '9'; };
        if (t.size() == 10 && t[4] == u'-' && t[7] == u'-' && digit(0) && digit(1) && digit(2) && digit(3) &&
            digit(5) && digit(6) && digit(8) && digit(9)) {
            auto num = [&t](int from, int n) {
                int x = 0;
                for (int i = from; i < from + n; ++i)
                    x = x * 10 + (t[i].unicode() - '0');
                return x;
            };
            return validDate(num(0, 4), num(5, 2), num(8, 2));
        }
    }
    static const QRegularExpression stored(QStringLiteral("^([0-9]{4})-([0-9]{2})-([0-9]{2})(?:[ T].*)?$"),
                                           QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = stored.match(v.toString().trimmed());
    if (!m.hasMatch()) return std::nullopt;
    return validDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
}

QString toScreen(const QDate& d) {
    if (!printableYear(d)) return QString();
    // Written digit by digit: the lists show one date per row.
    const int values[] = {d.day() / 10,    d.day() % 10,        d.month() / 10,     d.month() % 10,
                          d.year() / 1000, d.year() / 100 % 10, d.year() / 10 % 10, d.year() % 10};
    QString out(10, QLatin1Char('/'));
    const int at[] = {0, 1, 3, 4, 6, 7, 8, 9};
    for (int i = 0; i < 8; ++i)
        out[at[i]] = QLatin1Char(char('0' + values[i]));
    return out;
}

bool DaysInMonth(const QDate& date, int& days) {
    if (!date.isValid()) return false;
    // addMonths rolls December over to January of the next year.
    const QDate nextFirst = QDate(date.year(), date.month(), 1).addMonths(1);
    const QDate last = nextFirst.addDays(-1);
    if (!last.isValid()) return false;
    days = last.day();
    return true;
}

} // namespace pylon::dates
