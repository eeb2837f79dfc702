#pragma once
#include "documents/document_display.h"
#include "module/shown_document.h"

#include <QString>
#include <QStringList>

namespace pylon {

struct Session;
enum class EditorField;

// Fills the editor from the document the current view stands on: header, lines, totals with the tax,
// the total in words, the two markers, "En Compte" and the month-end button. Writes nothing.
void ShowCurrentDocument(Session& m);
// Fills the editor with a display worked out already.
void showDocumentDisplay(Session& m, const DocumentDisplay& d);
// The three total boxes show Module1::totals.
void showTotals(Session& m);

// The document on screen changes through these: each changes Module1's header, lines or pointer text,
// then the editor shows the change.
void showHeader(Session& m, const ShownHeader& header);
void showClient(Session& m, const ShownClient& client);
// Empties the client's fields and unticks "En Compte", for a new document.
void clearClient(Session& m);
// A header field (or the pointer) as shown or typed, and a new text for it.
QString fieldText(const Session& m, EditorField field);
void setFieldText(Session& m, EditorField field, const QString& text);
// New lines on screen: those of stored document `storedNumber` (empty for an entry) of `kind`.
void showLines(Session& m, DocKind kind, const QString& storedNumber, const LineColumnTexts& columns);
void appendLine(Session& m, const QStringList& cells);
void insertCell(Session& m, int column, int row, const QString& text);
// A row the column does not have stays missing.
void setCell(Session& m, int column, int row, const QString& text);
void removeLine(Session& m, int row);

} // namespace pylon
