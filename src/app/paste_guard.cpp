#include "app/paste_guard.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <algorithm>
#include <memory>

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

void guardLineEdit(QLineEdit* field, std::function<TextRule()> rule) {
    // textEdited comes for every change the user makes (keys, paste, drop, undo) and never for setText,
    // so the program's own texts pass untouched. The field's other listeners see the cleaned text: this
    // one replaces it before returning.
    QObject::connect(field, &QLineEdit::textEdited, field,
                     [field, rule = std::move(rule)](const QString& text) {
                         const TextRule r = rule();
                         const QString cleaned = cleanText(text, r);
                         if (cleaned == text) return;
                         // The cursor stays after what is kept of the text that stood before it.
                         const qsizetype cursor = cleanText(text.left(field->cursorPosition()), r).size();
                         field->setText(cleaned);
                         field->setCursorPosition(int(std::min(cursor, cleaned.size())));
                     });
}

void guardLineEdit(QLineEdit* field, const TextRule& rule) {
    guardLineEdit(field, [rule] { return rule; });
}

void guardPlainTextEdit(QPlainTextEdit* box, const TextRule& rule) {
    // Setting the text again changes it once more: that second change is already clean.
    auto busy = std::make_shared<bool>(false);
    QObject::connect(box, &QPlainTextEdit::textChanged, box, [box, rule, busy] {
        if (*busy) return;
        const QString text = box->toPlainText();
        const QString cleaned = cleanText(text, rule);
        if (cleaned == text) return;
        const qsizetype cursor = cleanText(text.left(box->textCursor().position()), rule).size();
        *busy = true;
        box->setPlainText(cleaned);
        QTextCursor at = box->textCursor();
        at.setPosition(int(std::min(cursor, cleaned.size())));
        box->setTextCursor(at);
        *busy = false;
    });
}

} // namespace pylon
