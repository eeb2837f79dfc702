#include "editing/saving.h"

#include "documents/document_entry.h"
#include "domain/dates.h"
#include "editing/edit_mode.h"
#include "editor/form1.h"
#include "editor/session.h"
#include "editor/show_document.h"
#include "module/entry_keeping.h"
#include "module/saving.h"
#include "store/db_errors.h"
#include "widgets/messages.h"

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
bool refuse(Session& m, EditorField field, const QString& text, const QString& title) {
    MsgBox(m.form1, text, MsgStyle::Ok, title);
    m.form1->focusField(field);
    return false;
}

// The header must be complete and readable before anything is written: a date that is not a date or a
// number that is not a whole number would otherwise be stored as nothing.
bool headerIsValid(Session& m, const DocumentEntry& entry) {
    const bool creditNote = entry.kind == DocKind::CreditNote;
    if (entry.number.isEmpty() || entry.date.isEmpty() || entry.client.isEmpty() || entry.name.isEmpty() ||
        entry.address.isEmpty())
        return refuse(m, EditorField::Number, QStringLiteral("Veuillez remplir les champs requise."),
                      kAttention);
    if (!creditNote && !dates::parseUserDate(entry.date))
        return refuse(m, EditorField::Date, QStringLiteral("La date n'est pas valide."), kAttention);
    if (!isWholeNumber(entry.number))
        return refuse(m, EditorField::Number, QStringLiteral("Le numéro n'est pas valide."), kAttention);
    if (!creditNote && !isWholeNumber(entry.client))
        return refuse(m, EditorField::Client, QStringLiteral("Le numéro n'est pas valide."), kAttention);
    return true;
}

// The document on screen, read once: what is written is what the editor showed when "&Valider" was
// pressed, whatever the writes do to the screen afterwards.
DocumentEntry readEntry(Session& m) {
    const ShownHeader& header = m.header;
    DocumentEntry entry;
    entry.kind = m.currentKind();
    entry.number = header.number;
    entry.date = header.date;
    entry.client = header.client.number;
    entry.name = header.client.name;
    entry.address = header.client.address;
    entry.onAccount = header.client.onAccount;
    entry.lines = m.lines->lines();
    return entry;
}

// Back to the stored documents, on the last one of the view.
void refresh(Session& m) {
    setFieldText(m, EditorField::Pointer, QString());
    m.requeryAfterWrite();
    if (m.rsDoc) m.rsDoc->MoveLast();
    leaveEditMode(m);
    ShowCurrentDocument(m);
    m.CurrentLine = 0;
    m.form1->focusField(EditorField::Number);
}

// The entry stays on screen in every case: either the cause goes away and saving again works, or the
// program has to be started again and the user had better note the document first.
void saveFailed(Session& m, const QString& reason) {
    const bool restart = db_errors::needsRestart(m.db.lastErrorCode());
    MsgBox(m.form1,
           QStringLiteral("L'enregistrement a échoué, rien n'a été enregistré : ") + reason +
               (restart ? QStringLiteral("\r\nLe document reste à l'écran : notez-le avant de fermer le "
                                         "programme.")
                        : QStringLiteral("\r\nLe document reste à l'écran : vous pouvez réessayer.")),
           MsgStyle::Ok, kAttention);
}

void saveFailed(Session& m) {
    saveFailed(m, m.db.failureText());
}

// Says what is wrong with the number typed and puts the cursor back in it.
void refuseNumber(Session& m, const QString& why) {
    MsgBox(m.form1, QStringLiteral("Facture N° ") + m.header.number + why, MsgStyle::Ok, kCancelled);
    m.form1->focusField(EditorField::Number);
}

// A number already taken: the entry stays as it is, so that only the number needs changing.
void refuseTakenNumber(Session& m) {
    refuseNumber(m, QStringLiteral(" Existe déjà."));
}

void refuseMissingDocument(Session& m) {
    refuseNumber(m, QStringLiteral(" introuvable."));
}

// A cell still in the pointer (a proposed amount, say) is on screen but not in the document: saving
// would bill less than the user sees, without a word. Says so and keeps the entry; true when it did.
bool refuseUnfinishedLine(Session& m) {
    if (m.pointerText.trimmed().isEmpty()) return false;
    refuse(m, EditorField::Pointer,
           QStringLiteral("La ligne en cours n'est pas terminée : appuyez sur Entrée dans la case de saisie "
                          "pour l'ajouter, ou videz-la."),
           kAttention);
    return true;
}

// What the user is told once the writes are over; true when the save landed.
bool landed(Session& m, const WriteResult& written, void (*refuse)(Session&)) {
    if (written.kind == WriteResult::Refused) refuse(m);
    if (written.kind == WriteResult::Failed) saveFailed(m, written.message);
    return written.isDone();
}

void saveCreditNote(Session& m, const DocumentEntry& entry) {
    // The first lookup reads only: whatever the file reports from here on is this save's doing.
    m.db.setError(QString());
    const Lookup found = findHeader(m.db, entry);
    if (found == Lookup::Failed) {
        saveFailed(m);
        return;
    }
    if (found == Lookup::Absent) {
        refuseMissingDocument(m);
        return;
    }
    if (refuseUnfinishedLine(m)) return;
    const WriteResult written = writeCreditNote(m.db, entry);
    if (!landed(m, written, refuseMissingDocument)) return;
    entrySaved(m);
    refresh(m);
}

void saveDocument(Session& m, const DocumentEntry& entry) {
    // The first lookup reads only: whatever the file reports from here on is this save's doing.
    m.db.setError(QString());
    const Lookup found = findHeader(m.db, entry);
    if (found == Lookup::Failed) {
        saveFailed(m);
        return;
    }
    if (found == Lookup::Found) {
        refuseTakenNumber(m);
        return;
    }
    if (entry.lines.empty()) {
        MsgBox(m.form1, QStringLiteral("Opération annulée, il faut remplir la facture"), MsgStyle::Ok,
               QStringLiteral("Attention!"));
        refresh(m);
        return;
    }
    if (refuseUnfinishedLine(m)) return;
    const WriteResult written = writeNewDocument(m.db, entry);
    if (!landed(m, written, refuseTakenNumber)) return;
    entrySaved(m);
    refresh(m);
}

} // namespace

void saveEntry(Session& m) {
    const DocumentEntry entry = readEntry(m);
    if (!headerIsValid(m, entry)) return;
    // Without the shared tables (a file that could not be opened, or was found damaged and closed) nothing
    // is tried: the file's last failure is what is said.
    if (!m.rsFacture || !m.rsCliEC || !m.rsDetFact) {
        saveFailed(m);
        return;
    }
    entry.kind == DocKind::CreditNote ? saveCreditNote(m, entry) : saveDocument(m, entry);
}

void Command6_Click(Session& m) {
    saveEntry(m);
}

void wireSaving(Session& m) {
    Session* mp = &m;
    m.form1->onButton(EditorButton::Save, [mp] { Command6_Click(*mp); });
    m.form1->onButton(EditorButton::Abandon, [mp] { Command10_Click(*mp); });
}

} // namespace pylon
