#include "commands/month_end.h"

#include "browse/navigation.h"
#include "domain/dates.h"
#include "editing/edit_mode.h"
#include "editing/new_document.h"
#include "editing/numbering.h"
#include "editor/form1.h"
#include "editor/session.h"
#include "editor/show_document.h"
#include "module/entry_keeping.h"
#include "module/month_end_store.h"
#include "widgets/input_box.h"
#include "widgets/messages.h"

namespace pylon {

namespace {

const QString kPromptTitle = QStringLiteral("Facture du mois.");
const QString kMessageTitle = QStringLiteral("Message");

enum class Outcome { Created, Cancelled, Failed };

struct Run {
    Outcome outcome = Outcome::Cancelled;
    QString number; // as typed at the first prompt
    int month = 0;
    QString client;  // as typed at the third prompt
    QString failure; // why the file refused the writes
};

// Asks one question. The answer is kept by the caller, and the header field it is about shows it (a
// cancelled question empties the field) so that the user sees what was answered so far. nullopt when the
// answer is empty or the question cancelled.
std::optional<QString> ask(Session& m, EditorField shownIn, const QString& prompt, const QString& proposed) {
    const QString answer = InputBox(m.form1, prompt, kPromptTitle, proposed).value_or(QString());
    setFieldText(m, shownIn, answer);
    if (answer.isEmpty()) return std::nullopt;
    return answer;
}

// A document or client number as typed: digits only, within what the file's fields hold.
std::optional<int> wholeNumber(const QString& text) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok || n < 0) return std::nullopt;
    return n;
}

// The last day of the month of the date on screen, "31/3/2005"; empty when the date on screen is not one.
QString endOfMonth(const QString& shownDate) {
    const auto date = dates::parseUserDate(shownDate);
    int days = 0;
    if (!date || !dates::DaysInMonth(*date, days)) return QString();
    return QStringLiteral("%1/%2/%3").arg(days).arg(date->month()).arg(date->year());
}

void showGatheredLines(Session& m, const std::vector<month_end::Line>& lines) {
    // Every line fills all five columns, empty values included, so that the rows stay aligned. A month
    // can gather thousands of lines: each column takes them in one go.
    LineColumnTexts columns;
    for (const auto& line : lines)
        for (size_t c = 0; c < line.size(); ++c)
            columns[c] << line[c].toString();
    showLines(m, m.currentKind(), QString(), columns);
}

Outcome finish(Run& run, const WriteResult& written) {
    if (written.isDone()) return Outcome::Created;
    run.failure = written.message;
    return Outcome::Failed;
}

Outcome refuseTakenNumber(Session& m, const Run& run) {
    MsgBox(m.form1, QStringLiteral("Facture N° ") + run.number + QStringLiteral(" Existe déjà."),
           MsgStyle::Ok, QStringLiteral("Opération annulée!"));
    beginNewDocument(m);
    setFieldText(m, EditorField::Pointer, QString());
    return Outcome::Cancelled;
}

Outcome askAndWrite(Session& m, Run& run) {
    // Taken before the first answer: the date and client on screen are still those of the document shown.
    const QString proposedDate = endOfMonth(m.header.date);

    const auto numberText = ask(m, EditorField::Number, QStringLiteral("Facture numéro :"),
                                QString::number(nextNumber(m, DocKind::Invoice)));
    if (!numberText) return Outcome::Cancelled;
    run.number = *numberText;
    const auto number = wholeNumber(run.number);
    if (!number) return Outcome::Cancelled;

    const auto dateText = ask(m, EditorField::Date, QStringLiteral("Date de fin du mois :"), proposedDate);
    if (!dateText) return Outcome::Cancelled;
    const auto date = dates::parseUserDate(*dateText);
    if (!date) return Outcome::Cancelled;
    run.month = date->month();

    const auto clientText =
        ask(m, EditorField::Client, QStringLiteral("Pour le Client numéro :"), m.header.client.number);
    if (!clientText) return Outcome::Cancelled;
    run.client = *clientText;
    const auto client = wholeNumber(run.client);
    if (!client) return Outcome::Cancelled;

    m.db.setError(QString());
    const auto lines = month_end::gatherLines(m.db, *client, date->year(), run.month);
    if (!lines) {
        run.failure = m.db.lastError().isEmpty()
                          ? QStringLiteral("les lignes du mois ne peuvent pas être lues")
                          : m.db.failureText();
        return Outcome::Failed;
    }
    showGatheredLines(m, *lines);

    if (m.currentKind() == DocKind::CreditNote) {
        // Credit-note lines need a document to belong to.
        const Lookup header = month_end::findDocument(m.db, *number);
        if (header == Lookup::Failed) {
            run.failure = QStringLiteral("le document N° %1 ne peut pas être lu").arg(*number);
            return Outcome::Failed;
        }
        if (header == Lookup::Absent) return Outcome::Cancelled;
        return finish(run, month_end::attachCreditNote(m.db, *number, *lines));
    }

    const Lookup existing = month_end::findDocument(m.db, *number);
    if (existing == Lookup::Failed) {
        run.failure = QStringLiteral("le numéro %1 ne peut pas être vérifié").arg(*number);
        return Outcome::Failed;
    }
    if (existing == Lookup::Found) return refuseTakenNumber(m, run);
    const ShownClient shown = m.header.client;
    const month_end::NewInvoice doc{*number, *date, *client, shown.name, shown.address, shown.onAccount};
    const WriteResult written = month_end::writeInvoice(m.db, doc, *lines);
    if (written.kind == WriteResult::Refused) return refuseTakenNumber(m, run);
    return finish(run, written);
}

// Whatever the outcome: back to the document that was on screen, in browse state, and the verdict.
void close(Session& m, int savedNumber, const Run& run) {
    setFieldText(m, EditorField::Pointer, QString());
    m.requeryAfterWrite();
    // After a taken number the entry begun meanwhile is still on: the lookup then only moves the cursor,
    // and the display below shows where the view stands.
    setFieldText(m, EditorField::Number, QString::number(savedNumber));
    lookUpDocumentNumber(m);
    leaveEditMode(m);
    ShowCurrentDocument(m);
    m.CurrentLine = 0;
    switch (run.outcome) {
    case Outcome::Created:
        MsgBox(m.form1,
               QStringLiteral("Facture du mois ") + QString::number(run.month) +
                   QStringLiteral(" pour le client en compte ") + run.client + QStringLiteral(" créé."),
               MsgStyle::Ok, kMessageTitle);
        break;
    case Outcome::Cancelled:
        MsgBox(m.form1, QStringLiteral("Opération annulée."), MsgStyle::Ok, kMessageTitle);
        break;
    case Outcome::Failed:
        MsgBox(m.form1, QStringLiteral("L'opération n'a pas pu être enregistrée : ") + run.failure,
               MsgStyle::Ok, kMessageTitle);
        break;
    }
}

} // namespace

void createMonthEndInvoice(Session& m) {
    // The questions write their answers into the header: an entry under way is dropped, and kept, first.
    if (m.editMode()) entryDropped(m);
    const int savedNumber = m.header.number.toInt();
    Run run;
    run.outcome = askAndWrite(m, run);
    close(m, savedNumber, run);
}

void Command16_Click(Session& m) {
    createMonthEndInvoice(m);
}

void wireMonthEnd(Session& m) {
    Session* mp = &m;
    m.form1->onButton(EditorButton::MonthEnd, [mp] { Command16_Click(*mp); });
}

} // namespace pylon
