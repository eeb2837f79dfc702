#pragma once
// The main menu window: which kind of document the editor works on. "&Lancer" applies the selected option:
// Module1::kind, the editor's view and its captions change together, or not at all when the view cannot
// be opened.
#include "domain/kinds.h"

namespace pylon {

struct Session;
class Form4;

// The menu window, made hidden with the current kind selected the first time it is asked for.
Form4& menuWindow(Session& m);

void showMenuWindow(Session& m);
void Command15_Click(Session& m); // the editor's "&Menu"
void Form4_Activate(Session& m);  // each time the menu window becomes active
// Applies a kind as "&Lancer" does: its view, the captions and its first document, the menu showing it.
// False, with a message, when its documents cannot be read: the editor then stays as it was.
bool launchKind(Session& m, DocKind kind);
void launchSelectedKind(Session& m);
void MenuLancer_Click(Session& m); // "&Lancer"
void closeMenu(Session& m);
void MenuAnnuler_Click(Session& m); // "&Annuler"

void wireMenu(Session& m);

} // namespace pylon
