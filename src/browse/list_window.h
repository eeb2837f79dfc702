#pragma once
// The list window: documents of the current kind, clients or suppliers; a double-click acts on the editor.
// This part owns the window, keeps its columns in step and sends a double-click to the list shown.
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

class QListWidget;

namespace pylon {

struct Session;
class Form2;
enum class ListMode;

// Says what the window lists from now on: Module1::listMode and the caption that names it.
void setListMode(Session& m, Form2& w, ListMode mode);

// The window, made and wired on first use and kept until the editor closes.
Form2& listWindow(Session& m);
// Opens it beside the editor, which stays usable.
void showListWindow(Session& m);

// The headings of the first three columns; each label takes the width of its text.
void setHeadings(Form2& w, const QString& first, const QString& second, const QString& third);
// Replaces the rows of a column in one go: the lists run to a hundred thousand rows.
void setColumn(QListWidget* list, const QStringList& texts);
// The selected row of a column, -1 when none is.
int selectedRow(const QListWidget* list);
// A record set's field as a column shows it: dates as dd/MM/yyyy, nothing for a missing value.
QString columnText(const std::optional<QVariant>& value);

// Picks the row selected in the first column, according to the list shown and the edit mode.
void actOnListedRow(Session& m);
void List1_DblClick(Session& m);

void wireListWindow(Session& m);

} // namespace pylon
