#include "commands/cancelling.h"

#include "editor/form1.h"
#include "editor/session.h"
#include "editor/show_document.h"
#include "module/cancelling.h"
#include "widgets/messages.h"

namespace pylon {

namespace {

const QString kTitle = QStringLiteral("Attention");

// The view keeps the values of the row it stands on; standing on the same document again makes the
// marker show what was just written. The document stays the one on screen.
void rereadView(Session& m) {
    RecordSet* doc = m.rsDoc.get();
    if (!doc) return;
    const auto v = doc->Fields(QStringLiteral("NumFact"));
    const QString number = v && !v->isNull() ? QString::number(v->toLongLong()) : QString();
    doc->Requery();
    if (!number.isEmpty()) doc->FindFirst(QStringLiteral("NumFact=") + number);
}

void toggle(Session& m, const QString& number) {
    const std::optional<bool> found = findCancelled(m.db, number);
    if (!found) return;
    const bool cancelled = *found;
    const QString question =
        (cancelled ? QStringLiteral("Reprendre la facture N° ") : QStringLiteral("Annuler la facture N° ")) +
        number;
    if (MsgBox(m.form1, question, MsgStyle::YesNo, kTitle) != MsgAnswer::Yes) return;
    const WriteResult written = writeCancelled(m.db, number, !cancelled);
    if (written.isDone()) {
        rereadView(m);
        return;
    }
    const QString what = cancelled ? QStringLiteral("La reprise de la facture N° ")
                                   : QStringLiteral("L'annulation de la facture N° ");
    MsgBox(m.form1, what + number + QStringLiteral(" a échoué, rien n'a été modifié : ") + written.message,
           MsgStyle::Ok, kTitle);
}

} // namespace

void toggleCancelled(Session& m) {
    // The number field decides, whatever the kind on screen: every kind can be cancelled the same way.
    const QString number = m.header.number;
    if (!number.isEmpty()) toggle(m, number);
    ShowCurrentDocument(m);
    m.endEntryAfterRedisplay();
}

void Command17_Click(Session& m) {
    toggleCancelled(m);
}

void wireCancelling(Session& m) {
    Session* mp = &m;
    m.form1->onButton(EditorButton::CancelDocument, [mp] { Command17_Click(*mp); });
}

} // namespace pylon
