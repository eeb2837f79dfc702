#pragma once
// Comma-separated values as RFC 4180 writes them: a field is quoted when it holds the separator, a quote,
// a carriage return or a line feed (or when the caller asks), quotes inside are doubled, records end with
// CRLF. Fields are bytes, kept exactly: nothing is trimmed, recoded or reformatted.
#include <QByteArray>
#include <QString>
#include <vector>

namespace pylon::csv {

struct Field {
    QByteArray text;
    // Written between quotes; on reading, whether it was.
    bool quoted = false;
};
using Record = std::vector<Field>;

// Appends one record, CRLF included.
void appendRecord(QByteArray& out, const Record& fields, char separator = ',');

// Splits a whole text into records. A line break inside quotes belongs to the field; CRLF or a lone LF ends
// a record outside them; the last record may go without one. False with *error saying on which record
// the text stops making sense (an unclosed quote, text after a closing quote).
bool parse(const QByteArray& text, std::vector<Record>& records, QString* error, char separator = ',');

} // namespace pylon::csv
