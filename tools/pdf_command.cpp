#include "pdf_command.h"

#include "backup_commands.h"
#include "db_commands.h"
#include "documents/stored_document.h"
#include "print/pdf_file.h"
#include "store/database.h"
#include "store/schema.h"

#include <QGuiApplication>

namespace pylon::dbtool {

namespace {

// The kind whose files are named so ("Facture", "BC", "Avoir"…), as --kind gives it.
DocKind kindNamed(const QString& name) {
    for (DocKind k : {DocKind::Invoice, DocKind::Quote, DocKind::Order, DocKind::Delivery, DocKind::MonthEnd,
                      DocKind::CreditNote})
        if (kindInfo(k).printed.file == name) return k;
    return DocKind::Invoice;
}

// The documents asked for, each as it is printed; empty with *error set when there is none to print.
std::vector<print::PrintedDocument> documentsAsked(Database& db, const Command& c, QString* error) {
    std::vector<print::PrintedDocument> docs;
    QString why;
    if (c.kind.isEmpty()) {
        if (const auto doc = readDocument(db, c.number, &why))
            docs.push_back(print::printedDocument(*doc, doc->entry.kind));
        else
            *error = why.isEmpty() ? QStringLiteral("%1 holds no document %2").arg(c.path).arg(c.number)
                                   : QStringLiteral("cannot read %1: %2").arg(c.path, why);
        return docs;
    }
    const DocKind kind = kindNamed(c.kind);
    const QString month = QStringLiteral("%1-%2").arg(c.year).arg(c.month, 2, 10, QLatin1Char('0'));
    const auto numbers = documentNumbers(db, kind, c.year, c.month);
    if (!numbers) {
        *error = QStringLiteral("cannot read %1: %2").arg(c.path, db.lastError());
        return docs;
    }
    for (const qlonglong n : *numbers) {
        const auto doc = readDocument(db, n, &why);
        if (!doc) {
            *error = QStringLiteral("cannot read document %1 of %2: %3").arg(n).arg(c.path, why);
            return {};
        }
        docs.push_back(print::printedDocument(*doc, kind));
    }
    if (docs.empty()) *error = QStringLiteral("%1 holds no %2 dated %3").arg(c.path, c.kind, month);
    return docs;
}

} // namespace

int exportPdf(int argc, char** argv, const Command& c) {
    if (const QString refused = outputRefusal(c.output, c.force); !refused.isEmpty()) return fail(refused);
    // Painting text needs the fonts of a platform; without a display, the one that draws in memory.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    Database db;
    if (const QString why = openForReading(db, c.path); !why.isEmpty()) return fail(why);
    if (!schema::hasTables(db))
        return fail(QStringLiteral("%1 lacks one of the tables Facture, DetFact, AVOIR, CliEC").arg(c.path));
    // One read transaction: a month's documents all come from the same moment of the file.
    QString why;
    db.exec(QStringLiteral("BEGIN"));
    const std::vector<print::PrintedDocument> docs = documentsAsked(db, c, &why);
    db.exec(QStringLiteral("COMMIT"));
    if (docs.empty()) return fail(why);

    const int pages =
        print::writePdf(c.output, docs, print::letterheadFrom(print::identityFileFor(c.path)), &why);
    if (pages == 0) return fail(QStringLiteral("cannot write %1: %2").arg(c.output, why));
    printLine(QStringLiteral("%1 document%2, %3 page%4 -> %5")
                  .arg(docs.size())
                  .arg(docs.size() > 1 ? "s" : "")
                  .arg(pages)
                  .arg(pages > 1 ? "s" : "")
                  .arg(c.output));
    return 0;
}

} // namespace pylon::dbtool
