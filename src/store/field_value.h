#pragma once
// What a value becomes on its way into a typed field of the file, and back out of it.
#include "store/schema.h"

#include <QVariant>
#include <optional>

namespace pylon {

// The value to store for one assigned to a field of this type; nullopt when a text cannot be converted
// (a date that is not a date, a number that is not a whole number within 32 bits).
std::optional<QVariant> toStoredValue(schema::FieldType type, const QVariant& value);

// The stored value as the program reads it: whole numbers as qlonglong, dates as QDate, flags as bool
// (a missing flag reads as false). A stored value that does not fit its type is returned as it is.
QVariant fromStoredValue(schema::FieldType type, const QVariant& stored);

// The stored value as a list column shows it: dates as dd/MM/yyyy, numbers in plain digits, nothing for a
// missing value.
QString listText(schema::FieldType type, const QVariant& stored);

} // namespace pylon
