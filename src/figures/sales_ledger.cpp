#include "figures/sales_ledger.h"

#include "domain/csv.h"
#include "domain/dates.h"
#include "store/database.h"
#include "store/field_value.h"
#include "store/schema.h"

#include <QRegularExpression>
#include <QStringList>

namespace pylon {

namespace {

using MaybeAmount = std::optional<Amount>;

MaybeAmount plus(MaybeAmount a, MaybeAmount b) {
    return a && b ? a->plus(*b) : std::nullopt;
}

MaybeAmount minus(MaybeAmount a, MaybeAmount b) {
    qint64 r = 0;
    if (!a || !b || qSubOverflow(a->tenThousandths(), b->tenThousandths(), &r)) return std::nullopt;
    return Amount(r);
}

Totals combine(const Totals& a, const Totals& b, MaybeAmount (*op)(MaybeAmount, MaybeAmount)) {
    return {op(a.ht, b.ht), op(a.tva, b.tva), op(a.ttc, b.ttc)};
}

const Totals kZero{Amount(), Amount(), Amount()};

// The totals to the centime, as the editor shows them and the printed document carries them: the period's
// totals are the sums of those, not of the ten-thousandths behind them.
Totals asShown(const Totals& t) {
    const auto shown = [](MaybeAmount a) { return a ? parseAmount(formatAmount(*a)) : std::nullopt; };
    return {shown(t.ht), shown(t.tva), shown(t.ttc)};
}

// The amounts of a document's lines as the editor reads them, in the order they were written.
std::optional<QStringList> lineAmounts(Statement& st, qint64 number) {
    QStringList amounts;
    st.reset();
    if (!st.bind(0, number)) return std::nullopt;
    while (st.step())
        amounts << fromStoredValue(schema::FieldType::Text, st.value(0)).toString();
    if (!st.ok()) return std::nullopt;
    return amounts;
}

// The documents dated within the period as the editor, the dashboard and the kept totals read a date
// (pylon_date: "2026-11-05", with a time after it, spaces around it, or as a blob written by another tool),
// so that every figure of a period counts the same documents. A date stored as the program writes it is
// found through the index on kind and date; one that does not start with a digit sorts before the digits
// (a space, a number) or after them (a letter, a blob), and these two ends of the index, empty in the
// program's own files, are read as well.
QString headersSql() {
    const QString part =
        QStringLiteral("SELECT NumFact, pylon_date(DateFact) AS Day, NumCli, NomCli, TypeFact, \"Annulée\", "
                       "Avoir FROM Facture WHERE TypeFact IN ('Facture', 'Facture M') AND %1");
    return QStringLiteral("SELECT * FROM (%1 UNION ALL %2 UNION ALL %3) WHERE Day >= ?1 AND Day < ?2 "
                          "ORDER BY Day, NumFact")
        .arg(part.arg(QStringLiteral("DateFact >= ?1 AND DateFact < ?2")),
             part.arg(QStringLiteral("DateFact < '0'")), part.arg(QStringLiteral("DateFact >= ':'")));
}

bool readEntries(Database& db, SalesLedger& ledger) {
    auto headers = db.prepare(headersSql());
    auto lines = db.prepare(QStringLiteral("SELECT Mnt FROM DetFact WHERE NumFact = ? ORDER BY rowid"));
    auto credit = db.prepare(QStringLiteral("SELECT Mnt FROM AVOIR WHERE NumFact = ? ORDER BY rowid"));
    // The end is the next day, excluded: a stored date may carry a time after the day.
    if (!headers || !lines || !credit ||
        !headers->bindAll({dates::toStored(ledger.from), dates::toStored(ledger.to.addDays(1))}))
        return false;
    while (headers->step()) {
        LedgerEntry e;
        e.number = headers->value(0).toLongLong();
        e.date = dates::fromStored(headers->value(1)).value_or(QDate());
        e.client = fromStoredValue(schema::FieldType::Integer, headers->value(2)).toString();
        e.name = fromStoredValue(schema::FieldType::Text, headers->value(3)).toString();
        e.kind = headers->value(4).toString();
        e.cancelled = fromStoredValue(schema::FieldType::Boolean, headers->value(5)).toBool();
        const auto amounts = lineAmounts(*lines, e.number);
        if (!amounts) return false;
        e.document = asShown(totalsOf(*amounts));
        // The editor shows a credit note only when the flag is set and it has lines.
        if (fromStoredValue(schema::FieldType::Boolean, headers->value(6)).toBool()) {
            const auto creditAmounts = lineAmounts(*credit, e.number);
            if (!creditAmounts) return false;
            if (!creditAmounts->isEmpty()) e.creditNote = asShown(totalsOf(*creditAmounts));
        }
        e.net = combine(e.document, e.creditNote.value_or(kZero), minus);
        ledger.entries.push_back(std::move(e));
    }
    return headers->ok();
}

QByteArray amountText(MaybeAmount a) {
    return a ? formatAmount(*a).toUtf8() : QByteArray();
}

// French counts: 0 and 1 take the singular.
QString counting(qsizetype n, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(n > 1 ? many : one));
}

// A text from the file that a spreadsheet would take for a formula ("=HYPERLINK(…)", "+…", "-…", "@…", or
// one starting with a tab or a carriage return) is written after an apostrophe, which the spreadsheet shows
// it as a plain text with. The ledger's own figures are not touched, nor a client number, which a
// spreadsheet reads as a number whatever its sign.
QByteArray asText(const QString& fromFile) {
    static const QRegularExpression number(QStringLiteral("^-?[0-9]+$"));
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    if (!fromFile.isEmpty() && formulaStarts.contains(fromFile[0]) && !number.match(fromFile).hasMatch())
        return "'" + fromFile.toUtf8();
    return fromFile.toUtf8();
}

void appendTotals(csv::Record& record, const Totals& t) {
    for (const MaybeAmount& a : {t.ht, t.tva, t.ttc})
        record.push_back({amountText(a)});
}

} // namespace

std::optional<SalesLedger> readSalesLedger(Database& db, const QDate& from, const QDate& to, QString* error) {
    SalesLedger ledger;
    ledger.from = from;
    ledger.to = to;
    ledger.documents = ledger.creditNotes = ledger.net = kZero;
    // One read transaction: a save made meanwhile is either wholly in the ledger or not at all.
    if (!db.exec(QStringLiteral("BEGIN"))) {
        *error = db.lastError();
        return std::nullopt;
    }
    const bool read = readEntries(db, ledger);
    if (!read) *error = db.lastError();
    db.exec(QStringLiteral("COMMIT"));
    if (!read) return std::nullopt;
    for (const LedgerEntry& e : ledger.entries) {
        if (e.cancelled) {
            ++ledger.cancelled;
            continue;
        }
        ledger.documents = combine(ledger.documents, e.document, plus);
        ledger.creditNotes = combine(ledger.creditNotes, e.creditNote.value_or(kZero), plus);
        ledger.net = combine(ledger.net, e.net, plus);
    }
    return ledger;
}

QByteArray salesLedgerCsv(const SalesLedger& ledger) {
    QByteArray out = QByteArrayLiteral("\xEF\xBB\xBF");
    const char sep = ';';
    csv::Record header;
    for (const char* title :
         {"Numéro", "Date", "N° client", "Client", "Type", "Annulée", "Total H.T", "T.V.A. 20%",
          "Total T.T.C", "Avoir H.T", "Avoir T.V.A.", "Avoir T.T.C", "Net H.T", "Net T.V.A.", "Net T.T.C"})
        header.push_back({QByteArray(title)});
    csv::appendRecord(out, header, sep);
    for (const LedgerEntry& e : ledger.entries) {
        csv::Record r{{QByteArray::number(e.number)},
                      {dates::toScreen(e.date).toUtf8()},
                      {asText(e.client)},
                      {asText(e.name)},
                      {e.kind.toUtf8()},
                      {e.cancelled ? QByteArrayLiteral("oui") : QByteArray()}};
        appendTotals(r, e.document);
        if (e.creditNote)
            appendTotals(r, *e.creditNote);
        else
            r.insert(r.end(), 3, csv::Field());
        appendTotals(r, e.net);
        csv::appendRecord(out, r, sep);
    }
    const qsizetype counted = qsizetype(ledger.entries.size()) - ledger.cancelled;
    csv::Record total{{QByteArrayLiteral("Total")},
                      {},
                      {},
                      {QStringLiteral("Du %1 au %2 : %3, %4")
                           .arg(dates::toScreen(ledger.from), dates::toScreen(ledger.to),
                                counting(counted, "document compté", "documents comptés"),
                                counting(ledger.cancelled, "annulé non compté", "annulés non comptés"))
                           .toUtf8()},
                      {},
                      {}};
    appendTotals(total, ledger.documents);
    appendTotals(total, ledger.creditNotes);
    appendTotals(total, ledger.net);
    csv::appendRecord(out, total, sep);
    return out;
}

} // namespace pylon
