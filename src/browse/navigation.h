#pragma once
// Stepping through the documents of the current kind, and looking one up by its number or its client's.
namespace pylon {

struct Session;

void Command1_Click(Session& m); // first
void Command2_Click(Session& m); // previous
void Command3_Click(Session& m); // next
void Command4_Click(Session& m); // last
void txtNumFact_KeyPress(Session& m, int& keyAscii);
void txtNumCli_KeyPress(Session& m, int& keyAscii);

// The lookup by the number in txtNumFact, as Enter there runs it: outside an entry it shows the first
// document of the current kind with that number (the view stays where it stands when none has it);
// during an entry it only moves the cursor on to the date.
void lookUpDocumentNumber(Session& m);

void wireNavigation(Session& m);

} // namespace pylon
