#pragma once
// What the printed page of a document says, in the words and figures the editor shows for it.
#include "domain/kinds.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace pylon {
struct StoredDocument;
}

namespace pylon::print {

struct PrintedDocument {
    DocKind kind = DocKind::Invoice; // the kind it is printed as
    QString title;                   // FACTURE, DEVIS, BON DE COMMANDE, ... AVOIR
    QString number, date;
    QString partyLabel; // "Client", or "Fournisseur" on a purchase order
    QString partyNumber, name, address;
    // Five cells a line, and the totals and words: the editor's display of the document, without the
    // spaces that align the amounts in its columns. A total beyond the range of amounts is empty.
    std::vector<QStringList> lines;
    QString totalHT, tva, totalTTC, words;
    bool cancelled = false;
    QString note;     // a sentence under the header: the credit note and its document; empty when none
    QString fileStem; // "<Kind>-<number>", as the PDF is named
};

// The document as shown in a kind: its own, or the credit-note kind, which shows its credit note's lines
// and totals.
PrintedDocument printedDocument(const StoredDocument& doc, DocKind shownAs);

// The five column headings, as the editor's.
const QStringList& columnHeadings();

} // namespace pylon::print
