#pragma once
// The main menu window: which kind of document the editor works on. "&Lancer" applies the selected option:
// Module1::kind, the editor's view and its captions change together, or not at all when the view cannot
// be opened.
namespace pylon {

struct Module1;
class Form4;

// The menu window, made hidden with the current kind selected the first time it is asked for.
Form4& menuWindow(Module1& m);

void Command15_Click(Module1& m);   // the editor's "&Menu"
void Form4_Activate(Module1& m);    // each time the menu window becomes active
void MenuLancer_Click(Module1& m);  // "&Lancer"
void MenuAnnuler_Click(Module1& m); // "&Annuler"

void wireMenu(Module1& m);

} // namespace pylon
