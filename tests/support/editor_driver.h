#pragma once
// Drives the editor as the user does: the kind chosen in the main menu, a document typed and saved. The
// functions take the window they act on, so that a test with two copies of the program drives either.
#include "domain/kinds.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace pylon {
class Form1;
class Form4;
struct Session;
} // namespace pylon

namespace pylon::test {

class TempDb;

// What is typed for a new document. An empty number keeps the number the editor proposes.
struct TypedDocument {
    QString number;
    QString date;
    QString client;
    QString name;
    QString address;
    std::vector<QStringList> lines; // each as typeLine takes it
};

// "Aj&outer", then the header fields and the lines through the line pointer.
void typeDocument(Form1& editor, const TypedDocument& doc);
// "&Valider".
void save(Form1& editor);

// "&Menu"; the menu window once it is active, else null with a failure added.
Form4* openMenu(Session& m);
// A click on the kind's option in the menu, without launching it.
void pickOption(Form4& menu, DocKind kind);
// "&Menu", the kind's option, "&Lancer", and back in the editor.
void chooseKind(Session& m, DocKind kind);
// Arranging only: the editor shows the first document of a kind without going through the menu.
void arrangeKind(Session& m, DocKind kind);

// The rows of a table that meet a condition, counted in the file.
QString countRows(const TempDb& file, const QString& table, const QString& where = QStringLiteral("1"));

} // namespace pylon::test
