#pragma once
// A stored document read whole by its number, as the editor shows it, for those that hand it on (the
// printed page, the PDF); and the numbers of a kind's documents in a month. Only reads.
#include "documents/document_entry.h"

#include <QString>
#include <optional>
#include <vector>

namespace pylon {

class Database;

struct StoredDocument {
    // The kind stored with it, the header texts as the editor's fields show them (the date as dd/MM/yyyy,
    // nothing for a missing value), whether its client is on account, and its lines in the order they
    // were written, five cells each, as stored.
    DocumentEntry entry;
    bool cancelled = false;
    bool hasCreditNote = false;
    // The lines of its credit note, when it has one.
    std::vector<QStringList> creditLines;
};

// nullopt when no document has the number, its kind is none of the program's, or the file cannot be read;
// *error then says which (empty for a missing document).
std::optional<StoredDocument> readDocument(Database& db, qlonglong number, QString* error = nullptr);

// The numbers of the documents of a kind dated in the month (1-12) of the year, in ascending order; for
// the credit-note kind, the documents that carry a credit note. nullopt when the file cannot be read.
std::optional<std::vector<qlonglong>> documentNumbers(Database& db, DocKind kind, int year, int month);

} // namespace pylon
