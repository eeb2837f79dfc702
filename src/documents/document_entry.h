#pragma once
// A document as the user typed it, read from the editor once when it is saved, and the writes that store
// it. Values go to the file as the texts typed; the store converts them to the fields' types.
#include "domain/kinds.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace pylon {

class RecordSet;

struct DocumentEntry {
    DocKind kind = DocKind::Invoice;
    QString number, date, client, name, address;
    bool onAccount = false;
    // Five cells a line, as the columns hold them; a cell a short line lacks reads as empty.
    std::vector<QStringList> lines;
};

// The party's row: created when missing (a supplier when the entry is a purchase order), else only its
// "on account" flag follows the entry. False when a step fails or the party cannot be looked up.
bool writeParty(RecordSet& parties, const DocumentEntry& entry);
// The header of a new document of the entry's kind.
bool writeHeader(RecordSet& headers, const DocumentEntry& entry);
// The lines under the entry's number, in their order; an empty cell is stored as a single space.
bool writeLines(RecordSet& lines, const DocumentEntry& entry);

} // namespace pylon
