// The printed page as a PDF file: a one-page invoice of the 20,000-document demo, and a month-end invoice
// of 2,000 lines, each read from the file, laid out and written with the shop's letterhead and logo.
#include "documents/stored_document.h"
#include "print/pdf_file.h"
#include "store/database.h"
#include "support.h"

#include <QImage>
#include <QSettings>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

using namespace pylon;

// A folder with a full identity and its logo beside a copy of the database.
struct PrintFolder {
    explicit PrintFolder(const QString& demo) {
        QFile::copy(demo + QStringLiteral("/VelD"), dir.filePath(QStringLiteral("VelD")));
        QImage logo(600, 240, QImage::Format_RGB32);
        logo.fill(QColor(29, 53, 87));
        logo.save(dir.filePath(QStringLiteral("logo.png")));
        QSettings ini(dir.filePath(QStringLiteral("Pylon.ini")), QSettings::IniFormat);
        for (const auto& [key, value] : {std::pair{"nom", "Atlas Fournitures"},
                                         {"forme", "SARL"},
                                         {"capital", "100 000,00 DH"},
                                         {"adresse", "12, rue Ibn Battouta\nCasablanca"},
                                         {"ice", "001234567000089"},
                                         {"if", "12345678"},
                                         {"rc", "456789"},
                                         {"rc_ville", "Casablanca"},
                                         {"rib", "190780212112345678000012"},
                                         {"logo", "logo.png"},
                                         {"pied", "Merci de votre confiance."}})
            ini.setValue(QStringLiteral("Societe/") + QLatin1String(key), QString::fromUtf8(value));
        db.open(dir.filePath(QStringLiteral("VelD")));
    }
    // What an export does: read the document and the identity, write the file.
    int exportDocument(qlonglong number) {
        const auto doc = readDocument(db, number);
        if (!doc) return 0;
        return print::writePdf(dir.filePath(QStringLiteral("out.pdf")),
                               {print::printedDocument(*doc, doc->entry.kind)},
                               print::letterheadFrom(dir.filePath(QStringLiteral("Pylon.ini"))));
    }
    QTemporaryDir dir;
    Database db;
};

void BM_OnePagePdf(benchmark::State& state) {
    PrintFolder f(bench::demoFolder(20000));
    int pages = 0;
    for (auto _ : state)
        pages = f.exportDocument(1);
    state.counters["pages"] = pages;
}

void BM_MonthEndPdfTwoThousandLines(benchmark::State& state) {
    PrintFolder f(bench::demoFolder(20000));
    f.db.exec(QStringLiteral(
        "INSERT INTO Facture VALUES (990000, '2026-11-30', 1, 'Garage Essaada', 'Tanger', 'Facture M', 0, 0);"
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000) "
        "INSERT INTO DetFact SELECT 990000, 'Réf. ' || i, '2', 'Article de bureau numéro ' || i, '12,50', "
        "'25,00' "
        "FROM n;"));
    int pages = 0;
    for (auto _ : state)
        pages = f.exportDocument(990000);
    state.counters["pages"] = pages;
}

BENCHMARK(BM_OnePagePdf)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MonthEndPdfTwoThousandLines)->Unit(benchmark::kMillisecond);

} // namespace
