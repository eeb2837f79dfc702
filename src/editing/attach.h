#pragma once
#include <QString>

namespace pylon {

struct Session;

// Starts a credit note on the document numbered number, picked in the attach list, and puts the list
// window away.
void AttachCreditNote(Session& m, const QString& number);

} // namespace pylon
