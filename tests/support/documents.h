#pragma once
// Documents planted straight into a test's file, and PDF files read back as text.
#include <QString>
#include <QStringList>
#include <vector>

namespace pylon::test {

class TempDb;

struct PlantedDocument {
    qlonglong number = 1;
    QString kind = QStringLiteral("Facture"); // as stored in TypeFact
    QString date = QStringLiteral("2026-11-05");
    qlonglong client = 7;
    QString name, address;
    bool cancelled = false;
    std::vector<QStringList> lines, creditLines; // five cells each; credit lines make it carry a credit note
};

// The header, its lines, its credit note's lines and the party's row (a supplier for a purchase order),
// in one transaction.
bool plant(const TempDb& file, const PlantedDocument& doc);

// n lines "Article i" of quantity 2 at 12,50.
std::vector<QStringList> manyLines(int n);

// The text of a PDF file as `pdftotext -layout` lays it out, or with layout false as `-raw` reads it (in
// the order it was drawn, slanted text included), one string per page.
QStringList pdfPages(const QString& pdf, bool layout = true);

} // namespace pylon::test
