#include "widgets/paste_guard.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <limits>
#include <memory>
#include <utility>

namespace pylon {

namespace {

bool isLineBreak(char32_t c) {
    return c == u'\n' || c == u'\r' || c == 0x85 || c == QChar::LineSeparator ||
           c == QChar::ParagraphSeparator;
}

bool isBlank(char32_t c) {
    return c == u'\t' || c == u'\v' || c == u'\f';
}

} // namespace

QString cleanText(const QString& text, const TextRule& rule) {
    QString out;
    out.reserve(rule.maxLength > 0 ? std::min<qsizetype>(text.size(), rule.maxLength) : text.size());
    const auto room = [&](qsizetype units) {
        return rule.maxLength <= 0 || out.size() + units <= rule.maxLength;
    };
    for (qsizetype i = 0; i < text.size() && room(1); ++i) {
        const QChar c = text[i];
        if (rule.digitsOnly) {
            if (c >= u'0' && c <= u'9') out += c;
            continue;
        }
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            // A character beyond the first plane takes two units: both or neither.
            const QChar low = text[++i];
            if (!QChar::isPrint(QChar::surrogateToUcs4(c, low))) continue;
            if (!room(2)) break;
            out += c;
            out += low;
            continue;
        }
        const char32_t code = c.unicode();
        if (isLineBreak(code)) {
            // A Windows line end is one break, not two.
            if (code == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            out += rule.keepLineBreaks ? u'\n' : u' ';
        } else if (isBlank(code)) {
            out += u' ';
        } else if (QChar::isPrint(code)) {
            out += rule.decimalComma && c == u'.' ? u',' : c;
        }
        // Anything else (a control or format character, half a surrogate pair) is dropped.
    }
    return out;
}

CleanEdit cleanEdit(const QString& before, const QString& after, qsizetype cursor, const TextRule& rule) {
    const qsizetype shorter = std::min(before.size(), after.size());
    // A key, a paste or a drop leaves the cursor after what it brought: the text from the cursor on is
    // then the old end of the text. Otherwise (an undo, say) the change is whatever lies between the
    // longest common beginning and end.
    cursor = std::clamp<qsizetype>(cursor, 0, after.size());
    qsizetype suffix = after.size() - cursor;
    if (suffix > shorter || !after.endsWith(QStringView(before).right(suffix))) {
        suffix = 0;
        while (suffix < shorter && after[after.size() - 1 - suffix] == before[before.size() - 1 - suffix])
            ++suffix;
    }
    qsizetype prefix = 0;
    while (prefix < shorter - suffix && after[prefix] == before[prefix])
        ++prefix;
    // Both halves of a character beyond the first plane belong to the same side.
    if (prefix > 0 && after[prefix - 1].isHighSurrogate()) --prefix;
    if (suffix > 0 && after[after.size() - suffix].isLowSurrogate()) --suffix;

    const QString added = after.mid(prefix, after.size() - prefix - suffix);
    QString kept;
    if (rule.maxLength <= 0) {
        kept = cleanText(added, rule);
    } else {
        const qsizetype room = std::max<qsizetype>(rule.maxLength, before.size()) - prefix - suffix;
        TextRule within = rule;
        within.maxLength = int(room);
        if (room > 0) kept = cleanText(added, within);
    }
    return {after.left(prefix) + kept + after.right(suffix), prefix + kept.size()};
}

void guardLineEdit(QLineEdit* field, std::function<TextRule()> rule) {
    // textEdited comes for every change the user makes (keys, paste, drop, undo) and never for setText;
    // it comes before textChanged, which comes for every change and keeps the text as it stood. The field's
    // other listeners see the cleaned text: this one replaces it before returning.
    // The guard is the field's only limit: a field's own maximum length would cut what the program shows.
    field->setMaxLength(std::numeric_limits<int>::max());
    auto before = std::make_shared<QString>(field->text());
    QObject::connect(field, &QLineEdit::textChanged, field, [field, before] { *before = field->text(); });
    QObject::connect(field, &QLineEdit::textEdited, field,
                     [field, before, rule = std::move(rule)](const QString& text) {
                         const CleanEdit e = cleanEdit(*before, text, field->cursorPosition(), rule());
                         if (e.text == text) return;
                         field->setText(e.text);
                         field->setCursorPosition(int(e.cursor));
                     });
}

void guardLineEdit(QLineEdit* field, const TextRule& rule) {
    guardLineEdit(field, [rule] { return rule; });
}

void guardPlainTextEdit(QPlainTextEdit* box, const TextRule& rule) {
    struct State {
        QString before;      // the text as it stood after the last change
        bool byUser = false; // the document changed with its undo history on
        bool busy = false;   // the guard itself is setting the text
    };
    auto state = std::make_shared<State>();
    state->before = box->toPlainText();
    QTextDocument* doc = box->document();
    QObject::connect(doc, &QTextDocument::contentsChange, box, [doc, state] {
        if (doc->isUndoRedoEnabled()) state->byUser = true;
    });
    QObject::connect(box, &QPlainTextEdit::textChanged, box, [box, rule, state] {
        if (state->busy) return;
        const QString text = box->toPlainText();
        if (std::exchange(state->byUser, false)) {
            const CleanEdit e = cleanEdit(state->before, text, box->textCursor().position(), rule);
            if (e.text != text) {
                // Setting the text again changes it once more: that second change is already clean.
                state->busy = true;
                box->setPlainText(e.text);
                QTextCursor at = box->textCursor();
                at.setPosition(int(e.cursor));
                box->setTextCursor(at);
                state->busy = false;
            }
        }
        state->before = box->toPlainText();
    });
}

} // namespace pylon
