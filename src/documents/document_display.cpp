#include "documents/document_display.h"

#include "documents/stored_document.h"
#include "domain/amount_text.h"
#include "domain/amount_words.h"
#include "domain/dates.h"
#include "domain/totals.h"
#include "store/recordset.h"

#include <QDate>

namespace pylon {

namespace {

// A stored value as the editor shows it: dates as dd/MM/yyyy, nothing for a missing value.
QString shown(const std::optional<QVariant>& v) {
    if (!v || v->isNull()) return QString();
    if (v->typeId() == QMetaType::QDate) return dates::toScreen(v->toDate());
    return v->toString();
}

QString field(RecordSet* rs, const char* name) {
    return rs ? shown(rs->Fields(QString::fromUtf8(name))) : QString();
}

bool flagOf(RecordSet* rs, const char* name) {
    if (!rs) return false;
    const auto v = rs->Fields(QString::fromUtf8(name));
    return v && v->toBool();
}

// The amount columns reformatted and aligned, the totals and the words, from the lines as read.
void workOut(DocumentDisplay& d) {
    // In ten-thousandths, so that the tax and the total add up exactly.
    const Totals totals = totalsOf(d.columns[4]);
    for (int c : {3, 4})
        for (QString& text : d.columns[size_t(c)])
            text = padAmount(reformatAmount(text).value_or(text));
    if (totals.ht) d.totalHT = padAmount(formatAmount(*totals.ht));
    if (totals.tva) d.tva = padAmount(formatAmount(*totals.tva));
    if (totals.ttc) {
        d.totalTTC = padAmount(formatAmount(*totals.ttc));
        d.words = TotalInWords(formatAmount(*totals.ttc));
    }
}

void readLines(RecordSet& rs, const QString& number, DocumentDisplay& d) {
    const QString criteria = QStringLiteral("NumFact=") + number;
    const char* fields[] = {"NB", "Qt", "Design", "PU", "Mnt"};
    for (bool found = rs.FindFirst(criteria) && !rs.NoMatch(); found;
         found = rs.FindNext(criteria) && !rs.NoMatch())
        for (int c = 0; c < 5; ++c)
            d.columns[size_t(c)] << field(&rs, fields[c]);
}

} // namespace

DocumentDisplay readDocumentDisplay(RecordSet* view, RecordSet* lines, RecordSet* parties, DocKind kind) {
    DocumentDisplay d;
    // An end flag left by a walk brings the view back onto its last or first row.
    if (view && view->IsEOF()) view->MoveLast();
    if (view && view->IsBOF()) view->MoveFirst();

    d.number = field(view, "NumFact");
    d.date = field(view, "DateFact");
    d.client = field(view, "NumCli");
    d.name = field(view, "NomCli");
    d.address = field(view, "AdrCli");
    // Read the flags now: the credit-note lines below move the view within the document.
    d.hasCreditNote = flagOf(view, "Avoir");
    d.cancelled = flagOf(view, "Annulée");

    if (!d.number.isEmpty()) {
        RecordSet* source = kind == DocKind::CreditNote ? view : lines;
        if (source) readLines(*source, d.number, d);
    }
    if (parties && parties->FindFirst(QStringLiteral("NumCli=") + d.client) && !parties->NoMatch())
        d.onAccount = flagOf(parties, "ClientC");

    workOut(d);
    return d;
}

DocumentDisplay documentDisplayOf(const StoredDocument& doc, DocKind kind) {
    const DocumentEntry& e = doc.entry;
    DocumentDisplay d{
        e.number, e.date, e.client, e.name, e.address, doc.hasCreditNote, doc.cancelled, e.onAccount,
        {},       {},     {},       {},     {}};
    for (const QStringList& line : kind == DocKind::CreditNote ? doc.creditLines : e.lines)
        for (int c = 0; c < 5; ++c)
            d.columns[size_t(c)] << line.value(c);
    workOut(d);
    return d;
}

} // namespace pylon
