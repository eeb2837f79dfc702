#include "documents/first_document.h"

#include "documents/stored_document.h"
#include "domain/source_sql.h"
#include "store/background_read.h"
#include "store/database.h"

#include <QVariant>
#include <vector>

namespace pylon {

namespace {

// Enough first numbers that a document without lines or client among them (a damaged or half-written
// file) still leaves one to show.
constexpr int kCandidates = 64;

QString candidatesSql(DocKind kind) {
    const QString which = kind == DocKind::CreditNote ? translateBooleans(QStringLiteral("Avoir = True"))
                                                      : QStringLiteral("TypeFact = ?");
    // One reading of the headers, sorted on the number as the view is, the client looked up in the few
    // thousand rows of CliEC.
    return QStringLiteral("SELECT NumFact FROM Facture WHERE %1 AND NumFact IS NOT NULL AND NumCli IN "
                          "(SELECT NumCli FROM CliEC) ORDER BY NumFact, rowid LIMIT %2")
        .arg(which)
        .arg(kCandidates);
}

} // namespace

std::optional<DocumentDisplay> firstDocumentDisplay(Database& db, DocKind kind) {
    auto candidates = db.prepare(candidatesSql(kind));
    if (!candidates || (kind != DocKind::CreditNote && !candidates->bind(0, kindInfo(kind).stored)))
        return std::nullopt;
    std::vector<qlonglong> numbers;
    while (candidates->step())
        numbers.push_back(candidates->value(0).toLongLong());
    if (!candidates->ok() || numbers.empty()) return std::nullopt;
    candidates.reset();
    const auto linesOf = [kind](const StoredDocument& doc) {
        return kind == DocKind::CreditNote ? doc.creditLines.size() : doc.entry.lines.size();
    };
    // Nearly always the first has lines: one reading of them. Otherwise one reading of the lines of all
    // the candidates finds the lowest number that has some, the view's first row.
    auto doc = readDocument(db, numbers.front());
    if (doc && linesOf(*doc) > 0) return documentDisplayOf(*doc, kind);
    QStringList listed;
    for (qlonglong n : numbers)
        listed << QString::number(n);
    auto lined = db.prepare(QStringLiteral("SELECT min(NumFact) FROM %1 WHERE NumFact IN (%2)")
                                .arg(kindInfo(kind).linesTable, listed.join(QLatin1Char(','))));
    if (!lined || !lined->step() || lined->value(0).isNull()) return std::nullopt;
    const qlonglong number = lined->value(0).toLongLong();
    lined.reset();
    doc = readDocument(db, number);
    if (!doc) return std::nullopt;
    return documentDisplayOf(*doc, kind);
}

FirstDocumentRead::FirstDocumentRead(const QString& path, DocKind kind,
                                     std::function<void(const std::optional<DocumentDisplay>&)> read) {
    auto display = std::make_shared<std::optional<DocumentDisplay>>();
    read_ = std::make_unique<BackgroundRead>(
        path, [kind, display](Database& db) { *display = firstDocumentDisplay(db, kind); },
        [read = std::move(read), display] { read(*display); });
}

FirstDocumentRead::~FirstDocumentRead() = default;

} // namespace pylon
