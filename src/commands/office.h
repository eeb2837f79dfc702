#pragma once
// The three documents delivered beside the program — the blank invoice form "Fact.doc", the licence
// "License.doc" and the manual "Manuel.doc" — opened by the editor's buttons in whatever the desktop uses
// for them. Also wires the author box and "&Quitter".
#include <QString>
#include <QUrl>
#include <functional>

namespace pylon {

struct Session;

using DocumentOpener = std::function<bool(const QUrl&)>;

// What opens a document: the desktop's opener unless replaced (the tests record the calls instead). It
// returns false when nothing could open the document. An empty function puts the desktop's opener back.
void setDocumentOpener(DocumentOpener opener);
// Hands a file to that opener and leaves it to the user; false when nothing could open it.
bool handToOpener(const QUrl& url);

// Opens the named file of the program's folder. A missing file, or a desktop without a program for it,
// is said in a message that gives the file's full path; the editor stays as it is.
void openOfficeDocument(Session& m, const QString& fileName);

void Command12_Click(Session& m); // "&Imprimer": the blank invoice form
void Command18_Click(Session& m); // "&Licence"
void Command19_Click(Session& m); // "&Manuel"

void wireOffice(Session& m);

} // namespace pylon
