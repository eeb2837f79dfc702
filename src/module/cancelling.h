#pragma once
// "&Fact. Annul.": the "Annulée" flag of a stored document's header, read and written through the shared
// headers' record set.
#include "store/write.h"

#include <QString>
#include <optional>

namespace pylon {

struct Module1;

// Puts rsFacture on the header numbered `number` and tells whether it is cancelled (a missing value counts
// as not cancelled); nullopt when no header has that number or it cannot be read.
std::optional<bool> findCancelled(Module1& m, const QString& number);

// Writes the flag of the header rsFacture stands on, all or nothing; on failure the result says why: what
// happened to the file and what to do, or the database's complaint.
WriteResult writeCancelled(Module1& m, bool cancelled);

} // namespace pylon
