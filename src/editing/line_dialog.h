#pragma once
// The five line columns of the editor as one table, and the line edit dialog opened by a double-click
// on one of their rows. During an entry the dialog changes the lists only; on a stored document it
// rewrites the document's lines in the file and shows the document again.
#include "domain/kinds.h"

#include <QString>

namespace pylon {

struct Session;
class Form5;

// After a stored document's lines were written anew: the view reads the file again and shows it.
void showRewrittenDocument(Session& m, DocKind kind, const QString& number);

// The dialog, made on first use and kept in Session::form5.
Form5& lineDialog(Session& m);

// A click in column `list` (1 to 5) selects its row in the four other columns.
void selectSameRowInEveryColumn(Session& m, int list);
void LineColumn_Click(Session& m, int list);
// A double-click on a row: fills the dialog with that line and shows it; the editor stays usable.
void editLineInDialog(Session& m);
void LineColumn_DblClick(Session& m);

void tidyLineDialogBoxes(Session& m);
void Form5_Activate(Session& m);
// "&Valider": writes the boxes back to the line.
void writeLineDialogBack(Session& m);
void Form5_Command1_Click(Session& m);
// Puts the dialog away, the line unchanged; typing goes on where it was.
void putLineDialogAway(Session& m);
void Form5_Command2_Click(Session& m); // "&Annuler"

void wireLineDialog(Session& m);

} // namespace pylon
