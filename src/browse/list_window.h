#pragma once
// The list window: documents of the current kind, clients or suppliers; a double-click acts on the editor.
// This part owns the window, keeps its columns in step and sends a double-click to the list shown.
#include <QString>
#include <memory>

namespace pylon {

struct Session;
class BackgroundRead;
class Form2;
class ListColumn;
class ListRows;
enum class ListMode;
struct DocumentChoice;

// Says what the window lists from now on: Module1::listMode and the caption that names it.
void setListMode(Session& m, Form2& w, ListMode mode);

// The window, made and wired on first use and kept until the editor closes.
Form2& listWindow(Session& m);
// Opens it beside the editor, which stays usable.
void showListWindow(Session& m);

// The headings of the first three columns; each label takes the width of its text.
void setHeadings(Form2& w, const QString& first, const QString& second, const QString& third);
// Shows the rows in the first `columns` columns, column i in List(i + 1); the others keep what they hold.
// A reading of rows still under way for the window is dropped.
void setColumns(Form2& w, const std::shared_ptr<ListRows>& rows, int columns);
// The first `columns` columns empty while `read` reads their rows on a thread; its end fills them with
// setColumns. Another list asked for meanwhile, or the window hidden, drops the reading.
void fillColumnsBehind(Form2& w, std::unique_ptr<BackgroundRead> read, int columns);
// The documents of the choice in the first `columns` columns, the type column saying `type` on every row:
// read at once, or behind on a large file (Module1::readsBehind).
void fillDocumentColumns(Session& m, Form2& w, const DocumentChoice& choice, const QString& type,
                         int columns);
// The lists let go of what they hold on the file (before it closes, or once it is found damaged).
void releaseListWindow(Session& m);

// Picks the row selected in the first column, according to the list shown and the edit mode.
void actOnListedRow(Session& m);
void List1_DblClick(Session& m);

void wireListWindow(Session& m);

} // namespace pylon
