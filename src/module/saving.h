#pragma once
// "&Valider"'s writes: a new document with its party, header and lines, or a credit note on its document,
// each all or nothing, on the rows of the entry's number and party. The header is looked up again once no
// other program can write: another copy of the program may have saved the same number, or deleted the
// document, since it was first looked up.
#include "documents/document_entry.h"
#include "store/recordset.h"
#include "store/write.h"

namespace pylon {

class Database;

// Whether a header has the entry's number, or Failed when the file could not be read.
Lookup findHeader(Database& db, const DocumentEntry& entry);

// The party (made, or its flag following the entry), the header and the lines. Refused, without a message,
// when the number is found taken once the file is locked for writing.
WriteResult writeNewDocument(Database& db, const DocumentEntry& entry);

// The document marked as having a credit note and the entry's lines added as its credit-note lines.
// Refused, without a message, when the document is found gone once the file is locked for writing.
WriteResult writeCreditNote(Database& db, const DocumentEntry& entry);

} // namespace pylon
