#pragma once
// The editor's entries for keeping the business safe and handing it to the accountant:
// "Sauvegarder maintenant" and "Journal des ventes…", added to a context menu of the editor.
class QMenu;

namespace pylon {

struct Session;

void addBackupEntries(QMenu& menu, Session& m);
// Adds them, after a separator, to the editor's right-click menu (the one the printing wires).
void wireBackupEntries(Session& m);

} // namespace pylon
