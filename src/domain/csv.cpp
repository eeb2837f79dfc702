#include "domain/csv.h"

namespace pylon::csv {

void appendRecord(QByteArray& out, const Record& fields, char separator) {
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) out += separator;
        const QByteArray& t = fields[i].text;
        const bool quote = fields[i].quoted || t.contains(separator) || t.contains('"') || t.contains('\r') ||
                           t.contains('\n');
        if (!quote) {
            out += t;
            continue;
        }
        out += '"';
        for (const char c : t) {
            if (c == '"') out += '"';
            out += c;
        }
        out += '"';
    }
    out += "\r\n";
}

bool parse(const QByteArray& text, std::vector<Record>& records, QString* error, char separator) {
    records.clear();
    Record record;
    Field field;
    const qsizetype n = text.size();
    qsizetype i = 0;
    const auto endField = [&] {
        record.push_back(std::move(field));
        field = Field();
    };
    while (i < n) {
        const bool atFieldStart = field.text.isEmpty() && !field.quoted;
        const char c = text[i];
        if (atFieldStart && c == '"') {
            field.quoted = true;
            // Up to the closing quote; a doubled quote is one quote of the text.
            for (++i;; ++i) {
                if (i >= n) {
                    *error =
                        QStringLiteral("record %1: a quoted field is never closed").arg(records.size() + 1);
                    return false;
                }
                if (text[i] != '"') {
                    field.text += text[i];
                } else if (i + 1 < n && text[i + 1] == '"') {
                    field.text += '"';
                    ++i;
                } else {
                    break;
                }
            }
            ++i;
            continue;
        }
        if (c == separator) {
            endField();
            ++i;
        } else if (c == '\r' || c == '\n') {
            endField();
            records.push_back(std::move(record));
            record = Record();
            i += (c == '\r' && i + 1 < n && text[i + 1] == '\n') ? 2 : 1;
        } else if (field.quoted) {
            *error = QStringLiteral("record %1: text after a closing quote").arg(records.size() + 1);
            return false;
        } else {
            field.text += c;
            ++i;
        }
    }
    // A last record without its line break.
    if (!record.empty() || !field.text.isEmpty() || field.quoted) {
        endField();
        records.push_back(std::move(record));
    }
    return true;
}

} // namespace pylon::csv
