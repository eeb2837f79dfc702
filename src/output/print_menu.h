#pragma once
// The editor's context menu (a right click on the window): print the document on screen through the
// print dialog, preview it, export it as a PDF file, and edit the shop's identity printed with it.
// Its entries, and their shortcuts Ctrl+P and Ctrl+E, work only outside an entry. The buttons of the
// editor are untouched: "&Imprimer" still opens the blank form.
#include <QString>
#include <functional>

class QWidget;

namespace pylon {

struct Session;

void printCurrentDocument(Session& m);
void previewCurrentDocument(Session& m);
// Written whole or not at all, then opened by the desktop's opener (setDocumentOpener, office.h).
void exportCurrentDocument(Session& m);

void wirePrintMenu(Session& m);

} // namespace pylon
