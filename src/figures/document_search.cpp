#include "figures/document_search.h"

#include "domain/dates.h"
#include "store/database.h"
#include "store/field_value.h"
#include "store/schema.h"
#include "store/totals_cache.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <cmath>

namespace pylon {

namespace {

struct Sql {
    QStringList parts;
    std::vector<QVariant> params;
    void add(const QString& part, const std::vector<QVariant>& values = {}) {
        parts << part;
        params.insert(params.end(), values.begin(), values.end());
    }
};

bool hasIndex(Database& db, const char* name) {
    return db.scalar(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'index' AND name = ?"),
                     {QString::fromLatin1(name)})
               .toInt() == 1;
}

// The values bound as one parameter and read back by json_each: any number of names in one statement.
QVariant listOf(const QVariantList& values) {
    return QString::fromUtf8(
        QJsonDocument(QJsonArray::fromVariantList(values)).toJson(QJsonDocument::Compact));
}

const QString kInNames = QStringLiteral("NomCli IN (SELECT value FROM json_each(?))");
const QString kInNumbers = QStringLiteral("NumCli IN (SELECT value FROM json_each(?))");

// How many rows a query gives, counting no further than `most` + 1; nullopt when it fails.
std::optional<qlonglong> countUpTo(Database& db, const QString& select, std::vector<QVariant> params,
                                   qlonglong most) {
    params.push_back(most + 1);
    const QVariant n = db.scalar(QStringLiteral("SELECT count(*) FROM (%1 LIMIT ?)").arg(select), params);
    if (!n.isValid()) return std::nullopt;
    return n.toLongLong();
}

std::optional<DocKind> kindOf(const QString& typeFact) {
    for (DocKind k : {DocKind::Invoice, DocKind::Quote, DocKind::Order, DocKind::Delivery, DocKind::MonthEnd})
        if (kindInfo(k).stored == typeFact) return k;
    return std::nullopt;
}

bool flag(const QVariant& stored) {
    return fromStoredValue(schema::FieldType::Boolean, stored).toBool();
}

// Where the documents come from, and so in which order they are read. Walking the headers newest first
// stops as soon as enough are found, which is quick when many documents qualify; when few do, they are
// taken through the index that names them (the clients found, or a span of totals) and sorted; when both
// name a few thousand, the numbers of the documents both name are gathered first, then only those read.
enum class Driver { Walk, Clients, Totals, Both };

// The document numbers a query gives; nullopt when it fails.
std::optional<QSet<qlonglong>> numbersOf(Database& db, const QString& select,
                                         const std::vector<QVariant>& params) {
    auto st = db.prepare(select);
    if (!st || !st->bindAll(params)) return std::nullopt;
    QSet<qlonglong> numbers;
    while (st->step())
        numbers.insert(st->value(0).toLongLong());
    if (!st->ok()) return std::nullopt;
    return numbers;
}

} // namespace

std::optional<SearchResult> DocumentSearch::find(Database& db, const SearchCriteria& c, int limit) {
    if (auto answer = answerBefore(db, c)) return answer;
    return search(db, c, limit);
}

std::optional<SearchResult> DocumentSearch::answerBefore(Database& db, const SearchCriteria& c) {
    // A file that cannot be written never gets them, and is searched as it is.
    if (!db.readOnly() && !schema::missingAdditions(db).isEmpty()) {
        SearchResult r;
        r.unindexed = true;
        return r;
    }
    totals_cache::refresh(db);
    // A span of totals reads every qualifying document's total: while a million are still to be computed
    // by the preparation, it would compute them here, for seconds. The other criteria compute only the
    // totals of the documents shown.
    if ((c.minTotal || c.maxTotal) && !db.readOnly() &&
        (!totals_cache::present(db) || totals_cache::staleCount(db, totals_cache::kComputedOnTheSpot + 1) >
                                           totals_cache::kComputedOnTheSpot)) {
        SearchResult r;
        r.preparing = true;
        return r;
    }
    return std::nullopt;
}

std::optional<SearchResult> DocumentSearch::search(Database& db, const SearchCriteria& c, int limit) {
    const bool kept = totals_cache::present(db);
    // Documents written since the last refresh, on a file that cannot be written, are computed as read.
    const QString total =
        QStringLiteral("(SELECT pylon_cents(pylon_ttc(Mnt)) FROM DetFact WHERE NumFact = f.NumFact)");
    const QString totalShown =
        kept ? QStringLiteral("CASE WHEN t.NumFact IS NULL THEN %1 ELSE t.TTC END").arg(total) : total;

    Sql where;
    std::optional<ClientNames::Matches> clients;
    if (!c.client.trimmed().isEmpty()) {
        clients = names_.matching(db, c.client);
        if (!clients) return std::nullopt;
        if (clients->empty()) return SearchResult{};
        where.add(QStringLiteral("(f.%1 OR f.%2)").arg(kInNames, kInNumbers),
                  {listOf(clients->names), listOf(clients->numbers)});
    }
    if (c.from) where.add(QStringLiteral("f.DateFact >= ?"), {dates::toStored(*c.from)});
    // Stored dates may carry a time after the day: the span ends before the next day.
    if (c.to) where.add(QStringLiteral("f.DateFact < ?"), {dates::toStored(c.to->addDays(1))});
    if (c.kind == DocKind::CreditNote)
        where.add(QStringLiteral("pylon_flag(f.Avoir) = 1"));
    else if (c.kind)
        where.add(QStringLiteral("f.TypeFact = ?"), {kindInfo(*c.kind).stored});
    if (c.minTotal) where.add(totalShown + QStringLiteral(" >= ?"), {c.minTotal->tenThousandths()});
    if (c.maxTotal) where.add(totalShown + QStringLiteral(" <= ?"), {c.maxTotal->tenThousandths()});

    const QString walkIndex =
        c.kind && c.kind != DocKind::CreditNote && hasIndex(db, "pylon_facture_kind_date")
            ? QStringLiteral("pylon_facture_kind_date")
        : hasIndex(db, "pylon_facture_date") ? QStringLiteral("pylon_facture_date")
                                             : QString();
    const qint64 lowest = std::numeric_limits<qint64>::min(), highest = std::numeric_limits<qint64>::max();
    const std::vector<QVariant> span = {c.minTotal.value_or(Amount(lowest)).tenThousandths(),
                                        c.maxTotal.value_or(Amount(highest)).tenThousandths()};

    // What each way of reading costs, in rows visited, from counts made through the indexes (none beyond
    // kCounted, so that counting stays cheap). Taking the qualifying documents of a client or of a span of
    // totals costs their number (a lookup and a sort each); walking the headers newest first costs the rows
    // walked until `limit` qualify, guessed from how few qualify, and never more than the span walked.
    constexpr qlonglong kCounted = 100000;
    const double documents =
        std::max(1.0, db.scalar(QStringLiteral("SELECT max(rowid) FROM Facture")).toDouble());
    double qualifying = 1.0; // the share of documents guessed to qualify, each criterion independent
    double cheapest = std::numeric_limits<double>::max();
    Driver driver = Driver::Walk;
    const auto consider = [&](std::optional<qlonglong> n, double costEach, Driver d) {
        if (!n) return false;
        qualifying *= double(*n) / documents;
        if (double(*n) * costEach < cheapest) {
            cheapest = double(*n) * costEach;
            driver = d;
        }
        return true;
    };
    std::optional<qlonglong> clientCount;
    if (clients && hasIndex(db, "pylon_facture_name") && hasIndex(db, "pylon_facture_party")) {
        const auto byName = countUpTo(db, QStringLiteral("SELECT 1 FROM Facture WHERE ") + kInNames,
                                      {listOf(clients->names)}, kCounted);
        const auto byNumber = countUpTo(db, QStringLiteral("SELECT 1 FROM Facture WHERE ") + kInNumbers,
                                        {listOf(clients->numbers)}, kCounted);
        if (!byName || !byNumber) return std::nullopt;
        consider(*byName + *byNumber, 1.5, Driver::Clients);
        clientCount = *byName + *byNumber;
    }
    std::optional<qlonglong> byClient = clientCount, byTotal;
    if ((c.minTotal || c.maxTotal) && kept && !totals_cache::hasStale(db) &&
        hasIndex(db, "pylon_totals_ttc")) {
        byTotal = countUpTo(db, QStringLiteral("SELECT 1 FROM pylon_totals WHERE TTC >= ? AND TTC <= ?"),
                            span, kCounted);
        if (!consider(byTotal, 2.5, Driver::Totals)) return std::nullopt;
    }
    // Both sets read through their indexes alone, then the documents in both looked up.
    if (byClient && byTotal && *byClient <= kCounted && *byTotal <= kCounted) {
        const double both =
            double(*byClient + *byTotal) * 0.2 + double(*byClient) * double(*byTotal) / documents * 3;
        if (both < cheapest) {
            cheapest = both;
            driver = Driver::Both;
        }
    }
    if (driver != Driver::Walk && !walkIndex.isEmpty()) {
        double walked = qualifying > 0 ? double(limit) / qualifying : documents;
        if (c.from || c.to || c.kind) {
            Sql range;
            if (c.from) range.add(QStringLiteral("DateFact >= ?"), {dates::toStored(*c.from)});
            if (c.to) range.add(QStringLiteral("DateFact < ?"), {dates::toStored(c.to->addDays(1))});
            if (c.kind && c.kind != DocKind::CreditNote)
                range.add(QStringLiteral("TypeFact = ?"), {kindInfo(*c.kind).stored});
            const auto inRange = countUpTo(
                db,
                QStringLiteral("SELECT 1 FROM Facture INDEXED BY %1 %2")
                    .arg(walkIndex, range.parts.isEmpty() ? QString()
                                                          : QStringLiteral("WHERE ") +
                                                                range.parts.join(QStringLiteral(" AND "))),
                range.params, kCounted);
            if (!inRange) return std::nullopt;
            if (*inRange <= kCounted) walked = std::min(walked, double(*inRange));
        }
        // A total is looked up for every row walked when the totals are a criterion.
        if (walked * (c.minTotal || c.maxTotal ? 2.0 : 1.0) < cheapest) driver = Driver::Walk;
    }

    Sql from;
    switch (driver) {
    case Driver::Walk:
        from.add(walkIndex.isEmpty() ? QStringLiteral("Facture f")
                                     : QStringLiteral("Facture f INDEXED BY ") + walkIndex);
        break;
    case Driver::Clients:
        from.add(
            QStringLiteral("(SELECT rowid AS r FROM Facture WHERE %1 UNION SELECT rowid FROM Facture WHERE "
                           "%2) c CROSS JOIN Facture f ON f.rowid = c.r")
                .arg(kInNames, kInNumbers),
            {listOf(clients->names), listOf(clients->numbers)});
        break;
    case Driver::Totals:
        from.add(QStringLiteral("pylon_totals t INDEXED BY pylon_totals_ttc CROSS JOIN Facture f ON "
                                "f.NumFact = t.NumFact"));
        where.add(QStringLiteral("t.TTC >= ? AND t.TTC <= ?"), span);
        break;
    case Driver::Both: {
        auto inBoth =
            numbersOf(db,
                      QStringLiteral("SELECT NumFact FROM Facture WHERE %1 UNION ALL SELECT NumFact FROM "
                                     "Facture WHERE %2")
                          .arg(kInNames, kInNumbers),
                      {listOf(clients->names), listOf(clients->numbers)});
        const auto byTotals = numbersOf(
            db, QStringLiteral("SELECT NumFact FROM pylon_totals WHERE TTC >= ? AND TTC <= ?"), span);
        if (!inBoth || !byTotals) return std::nullopt;
        inBoth->intersect(*byTotals);
        QVariantList numbers;
        for (const qlonglong n : *inBoth)
            numbers << n;
        from.add(QStringLiteral("Facture f INDEXED BY pylon_facture_numfact"));
        where.add(QStringLiteral("f.NumFact IN (SELECT value FROM json_each(?))"), {listOf(numbers)});
        break;
    }
    }
    if (kept && driver != Driver::Totals)
        from.add(QStringLiteral("LEFT JOIN pylon_totals t ON t.NumFact = f.NumFact"));

    std::vector<QVariant> params = from.params;
    params.insert(params.end(), where.params.begin(), where.params.end());
    params.push_back(limit + 1);
    auto st = db.prepare(
        QStringLiteral(
            "SELECT f.NumFact, f.DateFact, f.TypeFact, f.NumCli, f.NomCli, %1, f.\"Annulée\", f.Avoir, "
            "f.AdrCli "
            "FROM %2 %3 ORDER BY f.DateFact DESC, f.NumFact DESC LIMIT ?")
            .arg(totalShown, from.parts.join(u' '),
                 where.parts.isEmpty()
                     ? QString()
                     : QStringLiteral("WHERE ") + where.parts.join(QStringLiteral(" AND "))));
    if (!st || !st->bindAll(params)) return std::nullopt;
    SearchResult result;
    while (st->step()) {
        if (int(result.documents.size()) == limit) {
            result.more = true;
            break;
        }
        FoundDocument d;
        d.number = st->value(0).toLongLong();
        d.storedDate = st->value(1).toString();
        d.date = dates::fromStored(st->value(1));
        d.typeFact = st->value(2).toString();
        d.kind = kindOf(d.typeFact);
        d.client = st->value(3);
        d.name = st->value(4).toString();
        if (const QVariant t = st->value(5); !t.isNull()) d.total = Amount(t.toLongLong());
        d.cancelled = flag(st->value(6));
        d.hasCreditNote = flag(st->value(7));
        d.address = st->value(8).toString();
        result.documents.push_back(std::move(d));
    }
    if (!st->ok()) return std::nullopt;
    return result;
}

} // namespace pylon
