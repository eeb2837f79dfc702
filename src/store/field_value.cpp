#include "store/field_value.h"

#include "domain/dates.h"

#include <QDate>
#include <limits>

namespace pylon {

namespace {

std::optional<qlonglong> wholeNumber(const QVariant& v) {
    bool ok = false;
    qlonglong n = 0;
    switch (v.typeId()) {
    case QMetaType::Bool:
        return std::nullopt;
    case QMetaType::Double: {
        const double d = v.toDouble();
        if (d != static_cast<double>(static_cast<qlonglong>(d))) return std::nullopt;
        n = static_cast<qlonglong>(d);
        ok = true;
        break;
    }
    case QMetaType::QString:
        n = v.toString().trimmed().toLongLong(&ok);
        break;
    default:
        n = v.toLongLong(&ok);
    }
    if (!ok || n < std::numeric_limits<qint32>::min() || n > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return n;
}

std::optional<bool> flag(const QVariant& v) {
    if (v.typeId() == QMetaType::QString) {
        const QString t = v.toString().trimmed().toLower();
        if (t == u"true" || t == u"vrai") return true;
        if (t == u"false" || t == u"faux") return false;
        bool ok = false;
        const qlonglong n = t.toLongLong(&ok);
        if (!ok) return std::nullopt;
        return n != 0;
    }
    bool ok = false;
    const qlonglong n = v.toLongLong(&ok);
    if (!ok) return std::nullopt;
    return n != 0;
}

} // namespace

std::optional<QVariant> toStoredValue(schema::FieldType type, const QVariant& value) {
    if (!value.isValid() || value.isNull()) return QVariant();
    switch (type) {
    case schema::FieldType::Integer:
        if (auto n = wholeNumber(value)) return QVariant(*n);
        return std::nullopt;
    case schema::FieldType::Date: {
        if (value.typeId() == QMetaType::QDate)
            return value.toDate().isValid() ? std::optional<QVariant>(dates::toStored(value.toDate()))
                                            : std::nullopt;
        if (auto d = dates::parseUserDate(value.toString())) return QVariant(dates::toStored(*d));
        return std::nullopt;
    }
    case schema::FieldType::Boolean:
        if (auto b = flag(value)) return QVariant(qlonglong(*b ? 1 : 0));
        return std::nullopt;
    case schema::FieldType::Text:
        return QVariant(value.toString());
    }
    return std::nullopt;
}

QVariant fromStoredValue(schema::FieldType type, const QVariant& stored) {
    switch (type) {
    case schema::FieldType::Boolean:
        if (stored.isNull()) return QVariant(false);
        if (auto b = flag(stored)) return QVariant(*b);
        return stored;
    case schema::FieldType::Date:
        if (auto d = dates::fromStored(stored)) return QVariant(*d);
        return stored;
    case schema::FieldType::Integer:
        if (stored.typeId() == QMetaType::LongLong || stored.isNull()) return stored;
        if (auto n = wholeNumber(stored)) return QVariant(*n);
        return stored;
    case schema::FieldType::Text:
        return stored.isNull() ? stored : QVariant(stored.toString());
    }
    return stored;
}

QString listText(schema::FieldType type, const QVariant& stored) {
    const QVariant value = fromStoredValue(type, stored);
    if (value.isNull()) return QString();
    if (value.typeId() == QMetaType::QDate) return dates::toScreen(value.toDate());
    return value.toString();
}

} // namespace pylon
