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

void wireNavigation(Module1& m);

} // namespace pylon
