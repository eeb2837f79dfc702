#pragma once
// "&Fact. Annul.": marks the document whose number is on screen as cancelled, or takes the mark off again,
// after a Yes/No question. A cancelled document keeps its header and its lines; only its flag changes.
namespace pylon {

struct Session;

void toggleCancelled(Session& m);
void Command17_Click(Session& m);

void wireCancelling(Session& m);

} // namespace pylon
