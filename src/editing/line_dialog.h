#pragma once
// The five line columns of the editor as one table, and the line edit dialog opened by a double-click
// on one of their rows. During an entry the dialog changes the lists only; on a stored document it
// rewrites the document's lines in the file and shows the document again.
namespace pylon {

struct Module1;
class Form5;

// The dialog, made on first use and kept in Module1::form5.
Form5& lineDialog(Module1& m);

// A click in column `list` (1 to 5) selects its row in the four other columns.
void LineColumn_Click(Module1& m, int list);
// A double-click on a row: fills the dialog with that line and shows it; the editor stays usable.
void LineColumn_DblClick(Module1& m);

void Form5_Activate(Module1& m);
// "&Valider": writes the boxes back to the line.
void Form5_Command1_Click(Module1& m);
// "&Annuler": puts the dialog away.
void Form5_Command2_Click(Module1& m);

void wireLineDialog(Module1& m);

} // namespace pylon
