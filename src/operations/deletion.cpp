#include "operations/deletion.h"

#include "editor/form1.h"
#include "editor/messages.h"
#include "editor/session.h"
#include "editor/show_document.h"
#include "store/database.h"
#include "store/write.h"

#include <optional>

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

// A number from the editor's fields; nullopt for anything but a whole number, which then matches nothing.
std::optional<int> numberIn(const QString& text) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(n) : std::nullopt;
}

// Deletes every row of the record set that meets the criteria; false when one cannot be deleted.
bool deleteAll(RecordSet& rs, const QString& criteria) {
    for (bool found = rs.FindFirst(criteria) && !rs.NoMatch(); found;
         found = rs.FindNext(criteria) && !rs.NoMatch())
        if (!rs.Delete()) return false;
    return true;
}

// The document with its lines and credit-note lines, then its party's row when no document of theirs is
// left. The lines go even when the file lacks the trigger that takes them with their document, so that
// they never join a later document given the same number. The party is the deleted document's own, read
// from its header: the client number field may have been typed over since the document was shown.
bool deleteDocument(Session& m, std::optional<int> number) {
    if (!m.rsFacture || !m.rsCliEC) return false;
    std::optional<int> party;
    if (number) {
        const QString criteria = QStringLiteral("NumFact=%1").arg(*number);
        if (!m.rsFacture->FindFirst(criteria)) return false;
        if (!m.rsFacture->NoMatch()) {
            if (const auto cli = m.rsFacture->Fields(QStringLiteral("NumCli")); cli && !cli->isNull())
                party = numberIn(cli->toString());
            if (!m.rsFacture->Delete()) return false;
        }
        for (const char* lines : {"DetFact", "AVOIR"})
            if (!m.db.exec(QStringLiteral("DELETE FROM %1 WHERE NumFact = ? AND NOT EXISTS "
                                          "(SELECT 1 FROM Facture WHERE NumFact = ?)")
                               .arg(QLatin1String(lines)),
                           {*number, *number}))
                return false;
    }
    if (!party) return true;
    m.rsClientDocs = RecordSet::open(
        m.db, QStringLiteral("Select CliEC.*,Facture.* From CliEC INNER JOIN Facture on CliEC.NumCli = "
                             "Facture.NumCli Where CliEC.NumCli = %1")
                  .arg(*party));
    if (!m.rsClientDocs) return false;
    m.rsClientDocs->MoveFirst();
    if (!m.rsClientDocs->IsEOF()) return true;
    return deleteAll(*m.rsCliEC, QStringLiteral("NumCli=%1").arg(*party));
}

// The credit note only: its lines go and its document is no longer marked as having one.
bool deleteCreditNote(Session& m, std::optional<int> number) {
    if (!number) return true;
    if (!m.rsFacture || !m.rsAvoir) return false;
    const QString criteria = QStringLiteral("NumFact=%1").arg(*number);
    if (!deleteAll(*m.rsAvoir, criteria)) return false;
    if (!m.rsFacture->FindFirst(criteria)) return false;
    if (m.rsFacture->NoMatch()) return true;
    return m.rsFacture->Edit() && m.rsFacture->SetField(QStringLiteral("Avoir"), false) &&
           m.rsFacture->Update();
}

} // namespace

void deleteShownDocument(Session& m) {
    Ui::Form1& ui = m.form1->ui;
    const QString shownNumber = ui.txtNumFact->text();
    if (shownNumber.isEmpty()) return;
    if (MsgBox(m.form1, question(m.currentKind(), shownNumber), MsgStyle::YesNo,
               QStringLiteral("Attention !")) != MsgAnswer::Yes)
        return;

    const auto number = numberIn(shownNumber);
    const bool creditNote = m.currentKind() == DocKind::CreditNote;
    const WriteResult written = runWrite(
        m.db,
        [&] {
            return WriteResult::doneIf(creditNote ? deleteCreditNote(m, number) : deleteDocument(m, number));
        },
        {m.rsFacture.get(), m.rsDetFact.get(), m.rsCliEC.get(), m.rsAvoir.get()});
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
    QObject::connect(m.form1->ui.Command8, &QPushButton::clicked, m.form1, [mp] { Command8_Click(*mp); });
}

} // namespace pylon
