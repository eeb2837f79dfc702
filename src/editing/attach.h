#pragma once
#include <QString>

namespace pylon {

struct Module1;

// Starts a credit note on the document numbered number, picked in the attach list, and puts the list
// window away.
void AttachCreditNote(Module1& m, const QString& number);

} // namespace pylon
