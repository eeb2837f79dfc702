#pragma once
// What the month-end invoice reads from and writes to the file: the client's lines of the month (read by
// documents/month_lines.h), then either a new 'Facture M' document holding them or credit-note lines on an
// existing document, each on the rows of the document's number and the client's.
#include "documents/month_lines.h"
#include "store/recordset.h"
#include "store/write.h"

#include <QDate>
#include <QString>
#include <vector>

namespace pylon {

class Database;

namespace month_end {

// Whether a header of any kind has that number, or Failed when the file could not be read.
Lookup findDocument(Database& db, int number);

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
WriteResult writeInvoice(Database& db, const NewInvoice& doc, const std::vector<Line>& lines);

// Marks the existing document as having a credit note and adds the lines to it as credit-note lines,
// all or nothing. Refused when the document is gone; Failed with the reason when the file refused a write.
WriteResult attachCreditNote(Database& db, int number, const std::vector<Line>& lines);

} // namespace month_end
} // namespace pylon
