#include "store/sql_functions.h"

#include "domain/amount_text.h"
#include "domain/dates.h"
#include "domain/totals.h"
#include "store/field_value.h"

#include <QStringList>
#include <sqlite3.h>

namespace pylon {

namespace {

QVariant valueOf(sqlite3_value* v) {
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_value_int64(v)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_value_double(v));
    case SQLITE_NULL:
        return QVariant();
    default:
        return QVariant(
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(v)), sqlite3_value_bytes(v)));
    }
}

void resultAmount(sqlite3_context* ctx, const std::optional<Amount>& a) {
    if (a)
        sqlite3_result_int64(ctx, a->tenThousandths());
    else
        sqlite3_result_null(ctx);
}

// The aggregates gather the line amounts as the editor reads them and hand them to totalsOf whole. SQLite
// keeps a pointer to the list for each group; the final call frees it.
QStringList** gathered(sqlite3_context* ctx, int bytes) {
    return static_cast<QStringList**>(sqlite3_aggregate_context(ctx, bytes));
}

void gatherStep(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    QStringList** lines = gathered(ctx, sizeof(QStringList*));
    if (!lines) {
        sqlite3_result_error_nomem(ctx);
        return;
    }
    if (!*lines) *lines = new QStringList;
    // A missing amount is a text that is not an amount: it adds nothing.
    if (argc == 1 && sqlite3_value_type(argv[0]) != SQLITE_NULL)
        (*lines)->append(valueOf(argv[0]).toString());
}

template <std::optional<Amount> Totals::*which> void totalFinal(sqlite3_context* ctx) {
    // No slot when the document has no line at all.
    QStringList** slot = gathered(ctx, 0);
    QStringList* lines = slot ? *slot : nullptr;
    const Totals t = totalsOf(lines ? *lines : QStringList());
    delete lines;
    resultAmount(ctx, t.*which);
}

void centsFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) != SQLITE_INTEGER)
        sqlite3_result_null(ctx);
    else
        resultAmount(ctx, roundedToCents(Amount(sqlite3_value_int64(argv[0]))));
}

void dateFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const auto d = dates::fromStored(valueOf(argv[0]));
    const QByteArray text = d ? dates::toStored(*d).toUtf8() : QByteArray();
    if (text.isEmpty())
        sqlite3_result_null(ctx);
    else
        sqlite3_result_text(ctx, text.constData(), int(text.size()), SQLITE_TRANSIENT);
}

void flagFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_result_int(ctx, fromStoredValue(schema::FieldType::Boolean, valueOf(argv[0])).toBool() ? 1 : 0);
}

} // namespace

void registerSqlFunctions(sqlite3* db) {
    constexpr int kPure = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(db, "pylon_ht", 1, kPure, nullptr, nullptr, gatherStep, totalFinal<&Totals::ht>);
    sqlite3_create_function(db, "pylon_tva", 1, kPure, nullptr, nullptr, gatherStep,
                            totalFinal<&Totals::tva>);
    sqlite3_create_function(db, "pylon_ttc", 1, kPure, nullptr, nullptr, gatherStep,
                            totalFinal<&Totals::ttc>);
    sqlite3_create_function(db, "pylon_cents", 1, kPure, nullptr, centsFunction, nullptr, nullptr);
    sqlite3_create_function(db, "pylon_date", 1, kPure, nullptr, dateFunction, nullptr, nullptr);
    sqlite3_create_function(db, "pylon_flag", 1, kPure, nullptr, flagFunction, nullptr, nullptr);
}

} // namespace pylon
