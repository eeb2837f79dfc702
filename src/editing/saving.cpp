#include "editing/saving.h"

#include "app/module1.h"
#include "editing/edit_mode.h"
#include "editor/form1.h"
#include "editor/messages.h"
#include "editor/show_document.h"
#include "store/dates.h"
#include "store/db_errors.h"
#include "store/write.h"

#include <functional>
#include <limits>

namespace pylon {

namespace {

const QString kAttention = QStringLiteral("Attention");
const QString kCancelled = QStringLiteral("Opération annulée!");

bool isWholeNumber(const QString& text) {
    bool ok = false;
    const qlonglong n = text.trimmed().toLongLong(&ok);
    return ok && n >= std::numeric_limits<qint32>::min() && n <= std::numeric_limits<qint32>::max();
}

// Says what is wrong with a header field and puts the cursor in it. Returns false so callers can stop.
bool refuse(Module1& m, QWidget* field, const QString& text, const QString& title) {
    MsgBox(m.form1, text, MsgStyle::Ok, title);
    field->setFocus();
    return false;
}

// The header must be complete and readable before anything is written: a date that is not a date or a
// number that is not a whole number would otherwise be stored as nothing.
bool headerIsValid(Module1& m, bool creditNote) {
    Ui::Form1& ui = m.form1->ui;
    if (ui.txtNumFact->text().isEmpty() || ui.txtDateFact->text().isEmpty() ||
        ui.txtNumCli->text().isEmpty() || ui.txtNomCli->text().isEmpty() ||
        ui.txtAdrCli->toPlainText().isEmpty())
        return refuse(m, ui.txtNumFact, QStringLiteral("Veuillez remplir les champs requise."), kAttention);
    if (!creditNote && !dates::parseUserDate(ui.txtDateFact->text()))
        return refuse(m, ui.txtDateFact, QStringLiteral("La date n'est pas valide."), kAttention);
    if (!isWholeNumber(ui.txtNumFact->text()))
        return refuse(m, ui.txtNumFact, QStringLiteral("Le numéro n'est pas valide."), kAttention);
    if (!creditNote && !isWholeNumber(ui.txtNumCli->text()))
        return refuse(m, ui.txtNumCli, QStringLiteral("Le numéro n'est pas valide."), kAttention);
    return true;
}

QString cell(QListWidget* list, int row) {
    const QListWidgetItem* item = list->item(row);
    const QString text = item ? item->text() : QString();
    // An empty cell is stored as a single space.
    return text.isEmpty() ? QStringLiteral(" ") : text;
}

bool writeLines(Module1& m, RecordSet& lines) {
    Ui::Form1& ui = m.form1->ui;
    QListWidget* lists[] = {ui.List1, ui.List2, ui.List3, ui.List4, ui.List5};
    const char* fields[] = {"NB", "Qt", "Design", "PU", "Mnt"};
    for (int row = 0; row < ui.List1->count(); ++row) {
        if (!lines.AddNew() || !lines.SetField(QStringLiteral("NumFact"), ui.txtNumFact->text()))
            return false;
        for (int c = 0; c < 5; ++c)
            if (!lines.SetField(QString::fromLatin1(fields[c]), cell(lists[c], row))) return false;
        if (!lines.Update()) return false;
    }
    return true;
}

bool writeClient(Module1& m) {
    Ui::Form1& ui = m.form1->ui;
    RecordSet& cli = *m.rsCliEC;
    const Lookup party = lookUp(cli, QStringLiteral("NumCli=") + ui.txtNumCli->text().trimmed());
    if (party == Lookup::Failed) return false;
    if (party == Lookup::Found) {
        // A party keeps the supplier flag it was created with; only "En Compte" follows the box.
        return cli.Edit() && cli.SetField(QStringLiteral("ClientC"), ui.Check1->isChecked()) && cli.Update();
    }
    return cli.AddNew() && cli.SetField(QStringLiteral("NumCli"), ui.txtNumCli->text()) &&
           cli.SetField(QStringLiteral("ClientC"), ui.Check1->isChecked()) &&
           (m.currentKind() != DocKind::Order || cli.SetField(QStringLiteral("Frs"), true)) && cli.Update();
}

bool writeHeader(Module1& m) {
    Ui::Form1& ui = m.form1->ui;
    RecordSet& f = *m.rsFacture;
    return f.AddNew() && f.SetField(QStringLiteral("NumFact"), ui.txtNumFact->text()) &&
           f.SetField(QStringLiteral("DateFact"), ui.txtDateFact->text()) &&
           f.SetField(QStringLiteral("NumCli"), ui.txtNumCli->text()) &&
           f.SetField(QStringLiteral("NomCli"), ui.txtNomCli->text()) &&
           f.SetField(QStringLiteral("AdrCli"), ui.txtAdrCli->toPlainText()) &&
           f.SetField(QStringLiteral("TypeFact"), kindInfo(m.currentKind()).stored) && f.Update();
}

// Back to the stored documents, on the last one of the view.
void refresh(Module1& m) {
    m.form1->ui.txtPointeur->clear();
    m.requeryAfterWrite();
    if (m.rsDoc) m.rsDoc->MoveLast();
    leaveEditMode(m);
    ShowCurrentDocument(m);
    m.CurrentLine = 0;
    m.form1->ui.txtNumFact->setFocus();
}

// The entry stays on screen in every case: either the cause goes away and saving again works, or the
// program has to be started again and the user had better note the document first.
void saveFailed(Module1& m, const QString& reason) {
    const bool restart = db_errors::needsRestart(m.db.lastErrorCode());
    MsgBox(m.form1,
           QStringLiteral("L'enregistrement a échoué, rien n'a été enregistré : ") + reason +
               (restart ? QStringLiteral("\r\nLe document reste à l'écran : notez-le avant de fermer le "
                                         "programme.")
                        : QStringLiteral("\r\nLe document reste à l'écran : vous pouvez réessayer.")),
           MsgStyle::Ok, kAttention);
}

void saveFailed(Module1& m) {
    saveFailed(m, m.db.failureText());
}

Lookup header(Module1& m) {
    return lookUp(*m.rsFacture, QStringLiteral("NumFact=") + m.form1->ui.txtNumFact->text().trimmed());
}

// A number already taken: the entry stays as it is, so that only the number needs changing.
void refuseTakenNumber(Module1& m) {
    Ui::Form1& ui = m.form1->ui;
    MsgBox(m.form1, QStringLiteral("Facture N° ") + ui.txtNumFact->text() + QStringLiteral(" Existe déjà."),
           MsgStyle::Ok, kCancelled);
    ui.txtNumFact->setFocus();
}

void refuseMissingDocument(Module1& m) {
    Ui::Form1& ui = m.form1->ui;
    MsgBox(m.form1, QStringLiteral("Facture N° ") + ui.txtNumFact->text() + QStringLiteral(" introuvable."),
           MsgStyle::Ok, kCancelled);
    ui.txtNumFact->setFocus();
}

// The writes of one save, all or nothing. The header is looked up again once no other program can write:
// another copy of the program may have saved the same number, or deleted the document, since it was
// first looked up. `wanted` is the answer that lets the save go on; any other is a refusal, whose
// message the caller gives.
WriteResult writeSave(Module1& m, Lookup wanted, const std::function<bool()>& writes) {
    return runWrite(m.db,
                    [&] {
                        const Lookup found = header(m);
                        if (found == Lookup::Failed) return WriteResult::failed();
                        if (found != wanted) return WriteResult::refused(QString());
                        return WriteResult::doneIf(writes());
                    },
                    {m.rsFacture.get(), m.rsDetFact.get(), m.rsCliEC.get(), m.rsAvoir.get()});
}

// What the user is told once the writes are over; true when the save landed.
bool landed(Module1& m, const WriteResult& written, void (*refuse)(Module1&)) {
    if (written.kind == WriteResult::Refused) refuse(m);
    if (written.kind == WriteResult::Failed) saveFailed(m, written.message);
    return written.isDone();
}

void saveCreditNote(Module1& m) {
    // The first lookup reads only: whatever the file reports from here on is this save's doing.
    m.db.setError(QString());
    const Lookup found = header(m);
    if (found == Lookup::Failed) {
        saveFailed(m);
        return;
    }
    if (found == Lookup::Absent) {
        refuseMissingDocument(m);
        return;
    }
    const WriteResult written = writeSave(m, Lookup::Found, [&m] {
        RecordSet& f = *m.rsFacture;
        return f.Edit() && f.SetField(QStringLiteral("Avoir"), true) && f.Update() &&
               writeLines(m, *m.rsAvoir);
    });
    if (landed(m, written, refuseMissingDocument)) refresh(m);
}

void saveDocument(Module1& m) {
    Ui::Form1& ui = m.form1->ui;
    // The first lookup reads only: whatever the file reports from here on is this save's doing.
    m.db.setError(QString());
    const Lookup found = header(m);
    if (found == Lookup::Failed) {
        saveFailed(m);
        return;
    }
    if (found == Lookup::Found) {
        refuseTakenNumber(m);
        return;
    }
    if (ui.List1->count() == 0) {
        MsgBox(m.form1, QStringLiteral("Opération annulée, il faut remplir la facture"), MsgStyle::Ok,
               QStringLiteral("Attention!"));
        refresh(m);
        return;
    }
    const WriteResult written = writeSave(
        m, Lookup::Absent, [&m] { return writeClient(m) && writeHeader(m) && writeLines(m, *m.rsDetFact); });
    if (landed(m, written, refuseTakenNumber)) refresh(m);
}

} // namespace

void Command6_Click(Module1& m) {
    const bool creditNote = m.currentKind() == DocKind::CreditNote;
    if (!headerIsValid(m, creditNote)) return;
    if (!m.rsFacture || !m.rsCliEC || !m.rsDetFact || !m.rsAvoir) {
        saveFailed(m);
        return;
    }
    creditNote ? saveCreditNote(m) : saveDocument(m);
}

void wireSaving(Module1& m) {
    Module1* mp = &m;
    QObject::connect(m.form1->ui.Command6, &QPushButton::clicked, m.form1, [mp] { Command6_Click(*mp); });
    QObject::connect(m.form1->ui.Command10, &QPushButton::clicked, m.form1, [mp] { Command10_Click(*mp); });
}

} // namespace pylon
