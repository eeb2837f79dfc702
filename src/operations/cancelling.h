#pragma once
// "&Fact. Annul.": marks the document whose number is on screen as cancelled, or takes the mark off again,
// after a Yes/No question. A cancelled document keeps its header and its lines; only its flag changes.
namespace pylon {

struct Module1;

void Command17_Click(Module1& m);

void wireCancelling(Module1& m);

} // namespace pylon
