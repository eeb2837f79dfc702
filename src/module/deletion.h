#pragma once
// "&Supprimer": a stored document with its lines and credit-note lines, and its party when no document of
// theirs is left; or, in the credit-note kind, the credit note only. Each is one transaction, on the rows
// of the document's number and its party's.
#include "store/write.h"

#include <QString>
#include <optional>

namespace pylon {

class Database;

// A number from the editor's fields; nullopt for anything but a whole number, which then matches nothing.
std::optional<int> documentNumberIn(const QString& text);

// Deletes document `number` (nothing when it is nullopt or gone), its lines and credit-note lines, and its
// party's row when no document of theirs is left.
WriteResult deleteDocument(Database& db, std::optional<int> number);
// Deletes the credit note of document `number`: its lines go and the document is no longer marked as
// having one.
WriteResult deleteCreditNote(Database& db, std::optional<int> number);

} // namespace pylon
