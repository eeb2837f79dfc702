#pragma once
// A date field that takes a date typed whole, day/month/year, as "1/6/2026" or "01/06/2026", and shows it
// as "01/06/2026"; its calendar and its arrows work as a date field's do. Qt's own date field types
// section by section, jumping over the separators, so that a typed "1/6/2026" came out scrambled: here
// the text typed stays as typed until it is a whole date, and a date that is not one is left on screen
// for the dialog to refuse, never replaced by the previous one behind the user's back.
#include <QDateEdit>
#include <optional>

namespace pylon {

class DayField : public QDateEdit {
  public:
    explicit DayField(const QDate& day, QWidget* parent = nullptr);

    // The date the text on screen says; nullopt when it says none (a day not in the calendar, a
    // two-digit year, a text left half typed).
    std::optional<QDate> typedDate() const;

  protected:
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;
    QDateTime dateTimeFromText(const QString& text) const override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    // Tab leaves the field, as from any other: the date is typed whole, not section by section.
    bool focusNextPrevChild(bool next) override;
};

} // namespace pylon
