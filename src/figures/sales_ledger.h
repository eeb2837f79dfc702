#pragma once
// The sales ledger of a period, for the accountant's VAT return: every invoice and month-end invoice dated
// within it, with the totals the editor shows for it and for the credit note attached to it, and the
// period's totals, which leave cancelled documents out (they are listed all the same).
#include "domain/totals.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <optional>
#include <vector>

namespace pylon {

class Database;

struct LedgerEntry {
    qint64 number = 0;
    QDate date;
    QString client; // the number, as the editor shows it
    QString name;
    QString kind; // as stored: "Facture" or "Facture M"
    bool cancelled = false;
    // The totals the editor shows for the document, and for its credit note when one with lines is
    // attached, to the centime as shown; net is the first less the second.
    Totals document;
    std::optional<Totals> creditNote;
    Totals net;
};

struct SalesLedger {
    QDate from, to;
    // By date, then by number.
    std::vector<LedgerEntry> entries;
    int cancelled = 0;
    // Over the entries that are not cancelled; a sum beyond the range of amounts is none.
    Totals documents, creditNotes, net;
};

// The documents dated from `from` to `to`, both included, their dates read as the editor and the sales
// figures read them (pylon_date), in one read transaction. nullopt with *error set when the file cannot
// be read.
std::optional<SalesLedger> readSalesLedger(Database& db, const QDate& from, const QDate& to, QString* error);

// The ledger as a spreadsheet opens it: UTF-8 with its byte-order mark, ';' between the columns, dates as
// 30/11/2026 and amounts with a decimal comma ("1028,80"); one line per document, then the totals. A name
// or a client number from the file that a spreadsheet would run as a formula (starting with '=', '+', '-',
// '@', a tab or a carriage return) is written after an apostrophe, as a text.
QByteArray salesLedgerCsv(const SalesLedger& ledger);

} // namespace pylon
