#include "print/printed_document.h"

#include "documents/document_display.h"
#include "documents/stored_document.h"

namespace pylon::print {

namespace {

const KindPrintedWords& wordsOf(DocKind kind) {
    return kindInfo(kind).printed;
}

} // namespace

const QStringList& columnHeadings() {
    static const QStringList headings = {QStringLiteral("N.B."), QStringLiteral("QTE"),
                                         QStringLiteral("Designation"), QStringLiteral("P.U. H.T"),
                                         QStringLiteral("Montant H.T")};
    return headings;
}

PrintedDocument printedDocument(const StoredDocument& doc, DocKind shownAs) {
    const DocumentEntry& e = doc.entry;
    const DocumentDisplay d = documentDisplayOf(doc, shownAs);
    PrintedDocument p;
    p.kind = shownAs;
    p.title = wordsOf(shownAs).title;
    p.number = d.number;
    p.date = d.date;
    p.partyLabel = e.kind == DocKind::Order ? QStringLiteral("Fournisseur") : QStringLiteral("Client");
    p.partyNumber = d.client;
    p.name = d.name;
    p.address = d.address;
    p.cancelled = d.cancelled;
    p.fileStem = QStringLiteral("%1-%2").arg(wordsOf(shownAs).file, d.number);
    if (shownAs == DocKind::CreditNote)
        p.note = QStringLiteral("Avoir %1 n° %2 du %3.").arg(wordsOf(e.kind).ofIt, d.number, d.date);
    else if (d.hasCreditNote && shownAs == DocKind::Invoice)
        p.note = QStringLiteral("Un avoir est attaché à cette facture.");

    // On paper the amounts are right-aligned by the page itself.
    for (qsizetype i = 0; i < d.columns[0].size(); ++i) {
        QStringList cells;
        for (const QStringList& column : d.columns)
            cells << column.value(i).trimmed();
        p.lines.push_back(cells);
    }
    p.totalHT = d.totalHT.value_or(QString()).trimmed();
    p.tva = d.tva.value_or(QString()).trimmed();
    p.totalTTC = d.totalTTC.value_or(QString()).trimmed();
    p.words = d.words.value_or(QString());
    return p;
}

} // namespace pylon::print
