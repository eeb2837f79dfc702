#pragma once
// The six kinds of document the editor works on: what each one is made of in the file, and every name the
// program shows or prints for it, in one table.
#include <QString>

namespace pylon {

// Numbered as the options of the main menu.
enum class DocKind { Invoice = 1, Quote = 2, Order = 3, Delivery = 4, CreditNote = 5, MonthEnd = 6 };

// What the editor's captions read in the kind: its title, the list and client buttons and the five header
// labels. The leading spaces are part of the labels: the labels are left-aligned at the same place, so the
// spaces push the shorter texts towards their fields.
struct KindCaptions {
    QString title;    // the editor window
    QString command7; // the button listing the documents of the kind
    QString command9; // the button listing the clients, or the suppliers for purchase orders
    QString label7;   // beside txtNumFact
    QString label1;   // beside txtDateFact
    QString label2;   // beside txtNumCli
    QString label3;   // beside txtNomCli
    QString label4;   // beside txtAdrCli
};

// What a printed page and its file say of the kind.
struct KindPrintedWords {
    QString title; // "FACTURE"
    QString ofIt;  // "de la facture", for the credit note that belongs to it
    QString file;  // the start of the file's name, "Facture-12.pdf"
};

struct KindInfo {
    DocKind kind;
    QString stored;  // Facture.TypeFact; empty for the credit note, which is a flag on its document
    QString viewSql; // the record set the editor walks: one row per line of each document
    QString linesTable;
    // As the search window, the dashboard and the new-document question name it: "Bon de commande".
    QString name;
    KindCaptions captions;
    KindPrintedWords printed;
};

const KindInfo& kindInfo(DocKind kind);

} // namespace pylon
