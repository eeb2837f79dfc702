#pragma once
// Search criteria as the program writes them: "NumFact=12", "NumFact<>12", "NumCli=7", "TypeFact='BL'".
// The value part is often raw text typed by the user, so it is parsed here and always reaches SQLite as a
// bound parameter; anything that is not exactly field, operator, value is refused.
#include <QString>
#include <QVariant>
#include <optional>

namespace pylon {

struct Criterion {
    enum class Op { Equal, NotEqual };
    QString field;
    Op op = Op::Equal;
    QVariant value; // qlonglong or double for a number, QString for a quoted text

    // The condition as SQL with one '?' placeholder for value.
    QString sql() const;
};

std::optional<Criterion> parseCriterion(const QString& text);

} // namespace pylon
