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

// One change of the user's to a field: the text `before` became `after`, the cursor standing at `cursor`
// in it. What the user brought in is cleaned with the rule and cut so that the change leaves the text no
// longer than the rule allows, or than it already was; the text around it stays exactly as it was, whatever
// the program had put there. Also gives where the cursor goes: after what is kept of the new part.
struct CleanEdit {
    QString text;
    qsizetype cursor = 0;
};
CleanEdit cleanEdit(const QString& before, const QString& after, qsizetype cursor, const TextRule& rule);

// From now on every change the user makes to the field is cleaned with the rule of the moment, which may
// depend on where the field stands. Texts the program sets itself are shown as they are, however long:
// some fields show an answer exactly as it was given, to be checked afterwards, others a stored value.
void guardLineEdit(QLineEdit* field, std::function<TextRule()> rule);
void guardLineEdit(QLineEdit* field, const TextRule& rule);

// The same for a multi-line box. Its user's changes are told from the program's by the box's undo history,
// which records the first and never the texts set with setPlainText or clear: the box must keep it on.
void guardPlainTextEdit(QPlainTextEdit* box, const TextRule& rule);

} // namespace pylon
