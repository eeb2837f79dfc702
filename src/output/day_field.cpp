#include "output/day_field.h"

#include "domain/dates.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QRegularExpression>
#include <QSignalBlocker>

namespace pylon {

namespace {

// A whole date with a four-digit year, or the beginning of one.
const QRegularExpression& wholeDate() {
    static const QRegularExpression re(QStringLiteral("^\\s*[0-9]{1,2}/[0-9]{1,2}/[0-9]{4}\\s*$"));
    return re;
}
const QRegularExpression& partDate() {
    static const QRegularExpression re(QStringLiteral("^\\s*[0-9]{0,2}(/[0-9]{0,2}(/[0-9]{0,4})?)?\\s*$"));
    return re;
}

std::optional<QDate> dateOf(const QString& text) {
    if (!wholeDate().match(text).hasMatch()) return std::nullopt;
    return dates::parseUserDate(text);
}

} // namespace

DayField::DayField(const QDate& day, QWidget* parent) : QDateEdit(day, parent) {
    setLocale(QLocale(QLocale::French, QLocale::France));
    setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    setCalendarPopup(true);
    // Qt's date field moves the cursor to a section of its own whenever it moves, and puts the previous
    // date back over a text it cannot read yet: the typing here is the field's, not the sections'.
    disconnect(lineEdit(), &QLineEdit::cursorPositionChanged, this, nullptr);
    connect(lineEdit(), &QLineEdit::cursorPositionChanged, this, [this] { updateMicroFocus(); });
}

std::optional<QDate> DayField::typedDate() const {
    return dateOf(lineEdit()->text());
}

QValidator::State DayField::validate(QString& input, int&) const {
    if (dateOf(input)) return QValidator::Acceptable;
    // A day that is not in the calendar may be typed: the dialog says what is wrong with it.
    return partDate().match(input).hasMatch() || wholeDate().match(input).hasMatch()
               ? QValidator::Intermediate
               : QValidator::Invalid;
}

void DayField::fixup(QString&) const {
    // Left as typed: a text that is not a date is said to the user, not guessed at.
}

QDateTime DayField::dateTimeFromText(const QString& text) const {
    if (const auto day = dateOf(text)) return QDateTime(*day, QTime(0, 0));
    return dateTime();
}

void DayField::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A date that is not one goes to the dialog as typed, for it to say so.
        if (!typedDate()) {
            e->ignore();
            return;
        }
        QDateEdit::keyPressEvent(e);
        return;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Escape:
        QDateEdit::keyPressEvent(e);
        return;
    default:
        // Characters, deletions and the cursor's moves go to the text as in any field.
        QAbstractSpinBox::keyPressEvent(e);
    }
}

bool DayField::focusNextPrevChild(bool next) {
    return QAbstractSpinBox::focusNextPrevChild(next);
}

void DayField::focusInEvent(QFocusEvent* e) {
    QDateEdit::focusInEvent(e);
    // What is typed replaces the whole date.
    selectAll();
}

void DayField::focusOutEvent(QFocusEvent* e) {
    const QString typed = lineEdit()->text();
    QDateEdit::focusOutEvent(e);
    if (!dateOf(typed) && lineEdit()->text() != typed) {
        const QSignalBlocker quiet(lineEdit());
        lineEdit()->setText(typed);
    }
}

} // namespace pylon
