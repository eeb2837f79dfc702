#pragma once
// What a deleted document may leave behind in the file: lines still filed under its number, and its party's
// row once the party has no document left.
#include <optional>

namespace pylon {

class Database;

// Deletes the lines and credit-note lines filed under `number` when no header has that number any more.
// A file another program made may lack the trigger that takes them with their document; left there, they
// would join a later document given the same number. False when the file refused a step.
bool deleteOrphanLines(Database& db, int number);

// Whether any document is written out to party `party`; nullopt when the file could not be read, which is
// no answer: taken for "none", it would delete the row of a party that still has documents.
std::optional<bool> partyHasDocuments(Database& db, int party);

} // namespace pylon
