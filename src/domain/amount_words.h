#pragma once
// The total of a document written in French words, as printed under the totals of an invoice.
// Pure routines: no database, no widgets.
#include <QString>

namespace pylon {

// The words of the integer part (floor) of x, each followed by one space, the first letter upper-case
// (1234 -> "Mille deux cent trente quatre "). Follows the program's historic algorithm with its quirks:
// 0 and 1 give "", a leading 1 is never written (1000 -> "Mille "), 1e9 is "Millard ", 1e12 "Mille ",
// a '-' counts as a zero digit (-6 -> "Six "). "Une Erreur !" when the decimal text of floor(x) has 16
// characters or more (a scale word beyond the table), and for a NaN or an infinity. Never throws.
QString AmountInWords(double x);

// The "Arrêtée la présente facture à la somme de :" text for a TTC amount text such as "1234,56":
// "Mille deux cent trente quatre dirhams\r\nEt Cinquante six centimes.", "Deux mille dirhams.", "Un dirham.",
// "Un centime." ... The text is read with parseAmount (padding allowed, rounded to cents; without a comma the
// cents are "00"). "" for a zero total and for a text that is not an amount.
QString TotalInWords(const QString& ttc);

} // namespace pylon
