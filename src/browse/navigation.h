#pragma once
// Stepping through the documents of the current kind, and looking one up by its number or its client's.
namespace pylon {

struct Module1;

void Command1_Click(Module1& m); // first
void Command2_Click(Module1& m); // previous
void Command3_Click(Module1& m); // next
void Command4_Click(Module1& m); // last
void txtNumFact_KeyPress(Module1& m, int& keyAscii);
void txtNumCli_KeyPress(Module1& m, int& keyAscii);

// The lookup by the number in txtNumFact, as Enter there runs it: outside an entry it shows the first
// document of the current kind with that number (the view stays where it stands when none has it);
// during an entry it only moves the cursor on to the date.
void lookUpDocumentNumber(Module1& m);

void wireNavigation(Module1& m);

} // namespace pylon
