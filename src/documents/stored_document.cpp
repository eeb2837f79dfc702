#include "documents/stored_document.h"

#include "domain/dates.h"
#include "domain/source_sql.h"
#include "store/database.h"
#include "store/field_value.h"
#include "store/schema.h"

#include <QDate>

namespace pylon {

namespace {

// A stored value as the editor's fields show it: dates as dd/MM/yyyy, nothing for a missing value.
QString shown(const QString& field, const QVariant& stored) {
    const QVariant v = fromStoredValue(schema::fieldType(field), stored);
    if (v.isNull()) return QString();
    if (v.typeId() == QMetaType::QDate) return dates::toScreen(v.toDate());
    return v.toString();
}

bool flag(const QVariant& stored) {
    return fromStoredValue(schema::FieldType::Boolean, stored).toBool();
}

std::optional<DocKind> kindStoredAs(const QString& typeFact) {
    for (DocKind k : {DocKind::Invoice, DocKind::Quote, DocKind::Order, DocKind::Delivery, DocKind::MonthEnd})
        if (kindInfo(k).stored == typeFact) return k;
    return std::nullopt;
}

// The lines of a table under a number, in the order they were written.
bool readLines(Database& db, const QString& table, qlonglong number, std::vector<QStringList>& lines) {
    auto st = db.prepare(
        QStringLiteral("SELECT NB, Qt, Design, PU, Mnt FROM %1 WHERE NumFact = ? ORDER BY rowid").arg(table));
    if (!st || !st->bind(0, number)) return false;
    static const char* const fields[] = {"NB", "Qt", "Design", "PU", "Mnt"};
    while (st->step()) {
        QStringList cells;
        for (int c = 0; c < 5; ++c)
            cells << shown(QString::fromLatin1(fields[c]), st->value(c));
        lines.push_back(cells);
    }
    return st->ok();
}

} // namespace

std::optional<StoredDocument> readDocument(Database& db, qlonglong number, QString* error) {
    const auto fail = [&](const QString& why) -> std::optional<StoredDocument> {
        if (error) *error = why;
        return std::nullopt;
    };
    auto st = db.prepare(
        QStringLiteral("SELECT NumFact, DateFact, NumCli, NomCli, AdrCli, TypeFact, Avoir, \"Annulée\", "
                       "(SELECT ClientC FROM CliEC WHERE CliEC.NumCli = Facture.NumCli LIMIT 1) "
                       "FROM Facture WHERE NumFact = ? LIMIT 1"));
    if (!st || !st->bind(0, number)) return fail(db.lastError());
    if (!st->step()) return fail(st->ok() ? QString() : db.lastError());

    StoredDocument doc;
    DocumentEntry& e = doc.entry;
    const QString typeFact = st->value(5).toString();
    const auto kind = kindStoredAs(typeFact);
    if (!kind)
        return fail(QStringLiteral("document %1 is of an unknown kind '%2'").arg(number).arg(typeFact));
    e.kind = *kind;
    e.number = shown(QStringLiteral("NumFact"), st->value(0));
    e.date = shown(QStringLiteral("DateFact"), st->value(1));
    e.client = shown(QStringLiteral("NumCli"), st->value(2));
    e.name = shown(QStringLiteral("NomCli"), st->value(3));
    e.address = shown(QStringLiteral("AdrCli"), st->value(4));
    doc.hasCreditNote = flag(st->value(6));
    doc.cancelled = flag(st->value(7));
    e.onAccount = flag(st->value(8));
    st.reset();

    if (!readLines(db, QStringLiteral("DetFact"), number, e.lines)) return fail(db.lastError());
    if (doc.hasCreditNote && !readLines(db, QStringLiteral("AVOIR"), number, doc.creditLines))
        return fail(db.lastError());
    return doc;
}

std::optional<std::vector<qlonglong>> documentNumbers(Database& db, DocKind kind, int year, int month) {
    const QDate first(year, month, 1);
    if (!first.isValid()) return std::vector<qlonglong>{};
    // Stored dates are ISO texts, possibly with a time after them: the month is a range of texts.
    const QString which = kind == DocKind::CreditNote ? translateBooleans(QStringLiteral("Avoir = True"))
                                                      : QStringLiteral("TypeFact = ?");
    auto st = db.prepare(QStringLiteral("SELECT DISTINCT NumFact FROM Facture WHERE %1 AND DateFact >= ? AND "
                                        "DateFact < ? ORDER BY NumFact")
                             .arg(which));
    if (!st) return std::nullopt;
    std::vector<QVariant> params;
    if (kind != DocKind::CreditNote) params.push_back(kindInfo(kind).stored);
    params.push_back(dates::toStored(first));
    params.push_back(dates::toStored(first.addMonths(1)));
    if (!st->bindAll(params)) return std::nullopt;
    std::vector<qlonglong> numbers;
    while (st->step())
        numbers.push_back(st->value(0).toLongLong());
    if (!st->ok()) return std::nullopt;
    return numbers;
}

} // namespace pylon
