#pragma once
// The document on the editor's screen as data: its header as shown or typed, and its lines. The editor
// renders these and turns the user's keystrokes into changes of them; whoever needs to know what the
// document says reads them here, never from the window's controls.
#include "domain/kinds.h"

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

namespace pylon {

// The client part of a document's header: the number, the name, the address and the "En Compte" box.
struct ShownClient {
    QString number, name, address;
    bool onAccount = false;
};

// A document's header as the editor shows it.
struct ShownHeader {
    QString number, date;
    ShownClient client;
};

// The five line columns, each row one line of the document: N.B., QTE, Designation, P.U. and Montant.
inline constexpr int kLineColumns = 5;
using LineColumnTexts = std::array<QStringList, kLineColumns>;

// The lines on screen, and whose they are. Each time the editor fills its lines anew (a document shown,
// an entry begun or dropped, the lines of a month gathered) it is a new ShownLines, so that whoever noted
// one line of it (the line edit dialog) can tell whether that line is still the one on screen. During an
// entry the same ShownLines grows as lines are typed.
struct ShownLines {
    DocKind kind = DocKind::Invoice;
    // The number of the stored document these are the lines of; empty for an entry or no document.
    QString storedNumber;
    // Each column holds its texts in its rows; a column may be shorter than the others while a line's
    // last cells are not typed yet.
    LineColumnTexts columns;

    int count() const { return int(columns[0].size()); }
    int rows(int column) const { return int(columns[size_t(column)].size()); }
    // Empty for a row the column does not have.
    QString cell(int column, int row) const { return columns[size_t(column)].value(row); }
    // A row the column does not have stays missing.
    void setCell(int column, int row, const QString& text) {
        if (row >= 0 && row < rows(column)) columns[size_t(column)][row] = text;
    }
    // At the row given, or at the end for a row past it.
    void insertCell(int column, int row, const QString& text) {
        QStringList& c = columns[size_t(column)];
        c.insert(qBound(0, row, int(c.size())), text);
    }
    // Takes the row out of every column that has it.
    void removeLine(int row) {
        for (QStringList& c : columns)
            if (row >= 0 && row < c.size()) c.removeAt(row);
    }
    void append(const QStringList& cells) {
        for (int c = 0; c < kLineColumns; ++c)
            columns[size_t(c)] << cells.value(c);
    }
    // Five texts a line, as many lines as the first column has rows.
    std::vector<QStringList> lines() const {
        std::vector<QStringList> all;
        for (int row = 0; row < count(); ++row) {
            QStringList cells;
            for (int c = 0; c < kLineColumns; ++c)
                cells << cell(c, row);
            all.push_back(cells);
        }
        return all;
    }
};

} // namespace pylon
