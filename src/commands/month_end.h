#pragma once
namespace pylon {

struct Session;

// "&Créer la facture du mois": asks the new document's number, the end-of-month date and the client,
// then gathers the lines of that client's invoices and delivery notes of the month into one 'Facture M'
// document. In the credit-note kind, the lines go instead as a credit note on the document numbered.
// Shows again the document that was on screen and tells the outcome.
void createMonthEndInvoice(Session& m);
void Command16_Click(Session& m);

void wireMonthEnd(Session& m);

} // namespace pylon
