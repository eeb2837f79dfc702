#pragma once
// What the month-end invoice reads from and writes to the file: the client's lines of the month, then
// either a new 'Facture M' document holding them or credit-note lines on an existing document.
#include "store/recordset.h"
#include "store/write.h"

#include <QDate>
#include <QString>
#include <QVariant>
#include <array>
#include <optional>
#include <vector>

namespace pylon {

struct Module1;

namespace month_end {

// NB, Qt, Design, PU and Mnt of one line, as stored.
using Line = std::array<QVariant, 5>;

// Opens m.rsMonthLines on the lines of the client's invoices and delivery notes dated in that month of
// any year, and reads them in the order the query gives; nullopt when the query cannot run.
std::optional<std::vector<Line>> gatherLines(Module1& m, int client, int month);

// Whether a header of any kind has that number, or Failed when the file could not be read.
Lookup findDocument(Module1& m, int number);

struct NewInvoice {
    int number = 0;
    QDate date;
    int client = 0;
    QString name;
    QString address;
    bool onAccount = false; // for the client's row, when the client has none yet
};

// Writes the client's row if missing, the 'Facture M' header and its lines (one line holding only the
// number when there are none), all or nothing. Refused when the number is found taken once the file is
// locked for writing; Failed with the reason when the file refused a write.
WriteResult writeInvoice(Module1& m, const NewInvoice& doc, const std::vector<Line>& lines);

// Marks the existing document as having a credit note and adds the lines to it as credit-note lines,
// all or nothing. Refused when the document is gone; Failed with the reason when the file refused a write.
WriteResult attachCreditNote(Module1& m, int number, const std::vector<Line>& lines);

} // namespace month_end
} // namespace pylon
