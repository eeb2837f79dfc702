#include "commands/deletion.h"

#include "editor/form1.h"
#include "editor/session.h"
#include "editor/show_document.h"
#include "module/deletion.h"
#include "widgets/messages.h"

namespace pylon {

namespace {

QString question(DocKind kind, const QString& number) {
    switch (kind) {
    case DocKind::Invoice:
        return QStringLiteral("Supprimer la facture N° ") + number + QStringLiteral(" ?");
    case DocKind::Quote:
        return QStringLiteral("Supprimer le devis N° ") + number + QStringLiteral(" ?");
    case DocKind::Order:
        return QStringLiteral("Supprimer le B.C. N° ") + number + QStringLiteral(" ?");
    case DocKind::Delivery:
        return QStringLiteral("Supprimer le B.L. N° ") + number + QStringLiteral(" ?");
    case DocKind::CreditNote:
        return QStringLiteral("Supprimer l'Avoir N° ") + number + QStringLiteral(" ?");
    case DocKind::MonthEnd:
        return QStringLiteral("Supprimer la Facture du mois N° ") + number + QStringLiteral(" ?");
    }
    return QString();
}

} // namespace

void deleteShownDocument(Session& m) {
    const QString shownNumber = m.header.number;
    if (shownNumber.isEmpty()) return;
    if (MsgBox(m.form1, question(m.currentKind(), shownNumber), MsgStyle::YesNoDefaultNo,
               QStringLiteral("Attention !")) != MsgAnswer::Yes)
        return;

    const auto number = documentNumberIn(shownNumber);
    const bool creditNote = m.currentKind() == DocKind::CreditNote;
    const WriteResult written = creditNote ? deleteCreditNote(m.db, number) : deleteDocument(m.db, number);
    if (!written.isDone()) {
        // Show the document that was to be deleted, still there.
        m.requeryAfterWrite();
        if (m.rsDoc && number) m.rsDoc->FindFirst(QStringLiteral("NumFact=%1").arg(*number));
        ShowCurrentDocument(m);
        m.endEntryAfterRedisplay();
        MsgBox(m.form1,
               QStringLiteral("L'opération n'a pas pu être enregistrée : ") +
                   (written.message.isEmpty() ? QStringLiteral("la suppression n'a pas abouti")
                                              : written.message),
               MsgStyle::Ok, QStringLiteral("Message"));
        return;
    }
    m.requeryAfterWrite();
    if (m.rsDoc) m.rsDoc->MoveLast();
    ShowCurrentDocument(m);
    m.endEntryAfterRedisplay();
}

void Command8_Click(Session& m) {
    deleteShownDocument(m);
}

void wireDeletion(Session& m) {
    Session* mp = &m;
    m.form1->onButton(EditorButton::Delete, [mp] { Command8_Click(*mp); });
}

} // namespace pylon
