#pragma once
// Typing a document's lines through the line pointer, a small box that walks over the five columns:
// each Enter stores its text in the cell under it and moves it one column on, then to the next row.
#include <QString>
#include <QStringList>
#include <vector>

namespace pylon {

struct Session;

// Pointer positions in pixels (the window's layout is in twips, 15 to the pixel).
namespace pointer {
enum Column { kNb, kQt, kDesign, kPu, kMnt };
inline constexpr int kNbLeft = 8, kQtLeft = 88, kDesignLeft = 168, kPuLeft = 600, kMntLeft = 680;
inline constexpr int kNarrow = 81, kWide = 433;
inline constexpr int kFirstTop = 216, kRowHeight = 11, kRows = 32;
inline constexpr int kLastTop = kFirstTop + (kRows - 1) * kRowHeight;
// Puts the pointer, empty, on the first cell.
void park(Session& m);
} // namespace pointer

// The designation column holds at most this many characters typed or pasted, to stay within the margins.
inline constexpr int kDesignMax = 53;
// The other cells have no margin; this only keeps a pasted page out of them.
inline constexpr int kCellMax = 255;

// Puts whole lines (five cells each, at most kRows) into the entry just begun, as typing them would leave
// it: the cells, the running totals, and the pointer on the first cell of the next row (or put away, when
// the lines fill the document).
void fillLines(Session& m, const std::vector<QStringList>& lines);
// Puts the first cells of a line (fewer than five) under the pointer's row, as typing them would leave it:
// the pointer on the next cell, with the amount it proposes when that cell is the amount.
void resumeLine(Session& m, const QStringList& firstCells);

// A line's amount changed from `before` to `after` after it was typed: the running totals change by the
// difference, by the rule of a line typed (they grow from what the total boxes show).
void changeRunningTotals(Session& m, const QString& before, const QString& after);

// A whole line at `row` was taken out of the entry: typing goes on under the same line as before, one row
// up when the line was above it, and on the row freed when the document was full.
void lineRemovedFromEntry(Session& m, int row, bool wasFull);

void typeIntoPointer(Session& m, int& k);
void txtPointeur_KeyPress(Session& m, int& keyAscii);
void txtDateFact_KeyPress(Session& m, int& keyAscii);
void txtNomCli_KeyPress(Session& m, int& keyAscii);

void wireLineEntry(Session& m);

} // namespace pylon
