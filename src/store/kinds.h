#pragma once
// The six kinds of document the editor works on, and what each one is made of in the file.
#include <QString>

namespace pylon {

// Numbered as the options of the main menu.
enum class DocKind { Invoice = 1, Quote = 2, Order = 3, Delivery = 4, CreditNote = 5, MonthEnd = 6 };

struct KindInfo {
    DocKind kind;
    QString stored;  // Facture.TypeFact; empty for the credit note, which is a flag on its document
    QString viewSql; // the record set the editor walks: one row per line of each document
    QString linesTable;
};

const KindInfo& kindInfo(DocKind kind);

} // namespace pylon
