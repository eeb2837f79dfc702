#include "operations/cancelling.h"

#include "editor/form1.h"
#include "editor/messages.h"
#include "editor/session.h"
#include "editor/show_document.h"
#include "store/write.h"

namespace pylon {

namespace {

const QString kFlag = QStringLiteral("Annulée");
const QString kTitle = QStringLiteral("Attention");

// Writes the flag of the header rsFacture stands on, all or nothing; on failure the result says why:
// what happened to the file and what to do, or the database's complaint.
WriteResult writeFlag(Session& m, bool cancelled) {
    RecordSet& f = *m.rsFacture;
    return runWrite(
        m.db, [&] { return WriteResult::doneIf(f.Edit() && f.SetField(kFlag, cancelled) && f.Update()); },
        {&f});
}

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
    RecordSet* f = m.rsFacture.get();
    if (!f || !f->FindFirst(QStringLiteral("NumFact=") + number) || f->NoMatch()) return;
    const auto flag = f->Fields(kFlag);
    // A missing value counts as not cancelled.
    const bool cancelled = flag && flag->toBool();
    const QString question =
        (cancelled ? QStringLiteral("Reprendre la facture N° ") : QStringLiteral("Annuler la facture N° ")) +
        number;
    if (MsgBox(m.form1, question, MsgStyle::YesNo, kTitle) != MsgAnswer::Yes) return;
    const WriteResult written = writeFlag(m, !cancelled);
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
    const QString number = m.form1->ui.txtNumFact->text();
    if (!number.isEmpty()) toggle(m, number);
    ShowCurrentDocument(m);
    m.endEntryAfterRedisplay();
}

void Command17_Click(Session& m) {
    toggleCancelled(m);
}

void wireCancelling(Session& m) {
    Session* mp = &m;
    QObject::connect(m.form1->ui.Command17, &QPushButton::clicked, m.form1, [mp] { Command17_Click(*mp); });
}

} // namespace pylon
