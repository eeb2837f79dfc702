#pragma once
// Text that reaches a field without passing through its key handler: pasted with Ctrl+V, Shift+Insert,
// the context menu or a middle click, dropped from another program, given by an input method. Such text
// is brought back to what could have been typed there, whatever way it came in.
#include <QString>
#include <functional>

class QLineEdit;
class QPlainTextEdit;

namespace pylon {

struct TextRule {
    // Number fields: every character but the digits 0 to 9 is dropped.
    bool digitsOnly = false;
    // Multi-line boxes keep line breaks; elsewhere a line break, like a tab, becomes one space.
    bool keepLineBreaks = false;
    // Number columns: a point becomes a comma, as a typed one does.
    bool decimalComma = false;
    // At most this many characters; 0 for no limit.
    int maxLength = 0;
};

// The text as the rule lets it stand. Characters that no key types (control and format characters,
// unpaired surrogates) are dropped; tabs and line breaks become spaces unless the rule keeps the breaks.
QString cleanText(const QString& text, const TextRule& rule);

// From now on every change the user makes to the field is cleaned with the rule of the moment, which may
// depend on where the field stands. Texts the program sets itself are left as they are: some fields show
// an answer exactly as it was given, to be checked afterwards.
void guardLineEdit(QLineEdit* field, std::function<TextRule()> rule);
void guardLineEdit(QLineEdit* field, const TextRule& rule);

// A multi-line box cannot tell the user's changes from the program's: the rule holds for every text it
// shows.
void guardPlainTextEdit(QPlainTextEdit* box, const TextRule& rule);

} // namespace pylon
