#pragma once
// The editor's entries for keeping the business safe and handing it to the accountant:
// "Sauvegarder maintenant" and "Journal des ventes…", added to a context menu of the editor.
class QMenu;

namespace pylon {

struct Session;

void addBackupEntries(QMenu& menu, Session& m);

} // namespace pylon
