#pragma once
// "&Fact. Annul.": the "Annulée" flag of a stored document's header, read and written by the document's
// number.
#include "store/write.h"

#include <QString>
#include <optional>

namespace pylon {

class Database;

// Whether the header numbered `number` (as typed in the number field) is cancelled (a missing value counts
// as not cancelled); nullopt when no header has that number or it cannot be read.
std::optional<bool> findCancelled(Database& db, const QString& number);

// Writes the flag of the header numbered `number`, all or nothing; nothing is written when no header has
// that number any more. On failure the result says why: what happened to the file and what to do, or the
// database's complaint.
WriteResult writeCancelled(Database& db, const QString& number, bool cancelled);

} // namespace pylon
