#include "commands/document_from.h"

#include "documents/stored_document.h"
#include "domain/kinds.h"
#include "editing/line_entry.h"
#include "editing/new_document.h"
#include "editor/form1.h"
#include "editor/menu.h"
#include "editor/session.h"
#include "editor/show_document.h"
#include "widgets/messages.h"

#include <QInputDialog>
#include <algorithm>

namespace pylon {

namespace {

const QString kTitle = QStringLiteral("Nouveau document d'après celui-ci");

const DocKind kMadeAs[] = {DocKind::Invoice, DocKind::Quote, DocKind::Order, DocKind::Delivery,
                           DocKind::MonthEnd};

// The document on screen read from the file, with the lines the editor shows of it: its credit note's in
// the credit-note kind. A message says why when there is none.
std::optional<StoredDocument> documentOnScreen(Session& m) {
    const auto number = m.rsDoc ? m.rsDoc->Fields(QStringLiteral("NumFact")) : std::nullopt;
    if (!number || number->isNull()) {
        MsgBox(m.form1, QStringLiteral("Aucun document n'est affiché."), MsgStyle::Ok, kTitle);
        return std::nullopt;
    }
    QString why;
    auto doc = readDocument(m.db, number->toLongLong(), &why);
    if (!doc) {
        MsgBox(m.form1,
               why.isEmpty() ? QStringLiteral("Le document n° %1 n'est plus dans la base de données.")
                                   .arg(number->toLongLong())
                             : QStringLiteral("Le document n° %1 n'a pas pu être lu :\n%2")
                                   .arg(number->toLongLong())
                                   .arg(m.db.failureText().isEmpty() ? why : m.db.failureText()),
               MsgStyle::Ok, kTitle);
        return std::nullopt;
    }
    if (m.currentKind() == DocKind::CreditNote) doc->entry.lines = doc->creditLines;
    return doc;
}

// The file keeps an empty cell as a single space; in the entry it is empty again, and is saved as a space.
std::vector<QStringList> asTyped(std::vector<QStringList> lines) {
    for (QStringList& cells : lines)
        for (QString& cell : cells)
            if (cell == u" ") cell.clear();
    return lines;
}

} // namespace

DocKind proposedKindAfter(DocKind shown) {
    switch (shown) {
    case DocKind::Quote:
        return DocKind::Invoice;
    case DocKind::Order:
        return DocKind::Delivery;
    case DocKind::CreditNote:
        return DocKind::Invoice;
    default:
        return shown;
    }
}

namespace {

// The document on screen when it can be copied into an entry; a message says why when it cannot.
std::optional<StoredDocument> copiable(Session& m) {
    if (m.editMode()) {
        MsgBox(m.form1,
               QStringLiteral("Un document est en cours de saisie : enregistrez-le (« &Valider ») ou "
                              "abandonnez-le (« &Annuler ») d'abord."),
               MsgStyle::Ok, kTitle);
        return std::nullopt;
    }
    auto doc = documentOnScreen(m);
    if (doc && doc->entry.lines.size() > size_t(pointer::kRows)) {
        MsgBox(
            m.form1,
            QStringLiteral("Le document n° %1 a %2 lignes, et un document en compte au plus %3 : il n'a pas "
                           "été recopié.")
                .arg(doc->entry.number)
                .arg(doc->entry.lines.size())
                .arg(pointer::kRows),
            MsgStyle::Ok, kTitle);
        return std::nullopt;
    }
    return doc;
}

bool beginFrom(Session& m, const StoredDocument& d, DocKind kind) {
    if (kind == DocKind::CreditNote) return false;
    // The entry is of the kind chosen, as if "Aj&outer" had been pressed in it: its number, its captions,
    // and the save that stores it as that kind.
    if (kind != m.currentKind() && !launchKind(m, kind)) return false;
    beginNewDocument(m);
    showClient(m, {d.entry.client, d.entry.name, d.entry.address, d.entry.onAccount});
    fillLines(m, asTyped(d.entry.lines));
    return true;
}

} // namespace

void beginDocumentFromShown(Session& m) {
    // Said before the question: there is no point choosing a kind for a document that cannot be copied.
    const auto doc = copiable(m);
    if (!doc) return;
    QStringList names;
    for (const DocKind k : kMadeAs)
        names << kindInfo(k).name;
    const int proposed =
        int(std::find(std::begin(kMadeAs), std::end(kMadeAs), proposedKindAfter(m.currentKind())) -
            std::begin(kMadeAs));
    bool ok = false;
    const QString chosen = QInputDialog::getItem(
        m.form1, kTitle, QStringLiteral("Nature du nouveau document :"), names, proposed, false, &ok);
    const qsizetype index = names.indexOf(chosen);
    if (ok && index >= 0) beginFrom(m, *doc, kMadeAs[index]);
}

bool beginDocumentFrom(Session& m, DocKind kind) {
    const auto doc = copiable(m);
    return doc && beginFrom(m, *doc, kind);
}

} // namespace pylon
