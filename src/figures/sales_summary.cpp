#include "figures/sales_summary.h"

#include "domain/dates.h"
#include "store/database.h"
#include "store/totals_cache.h"

#include <QHash>
#include <algorithm>

namespace pylon {

namespace {

constexpr int kMonths = 12;
constexpr int kBestClients = 10;

struct Span {
    QString from, to; // stored dates, the second one excluded
};

// The kept totals and, for documents noted since they were kept and not computed yet (a file that cannot
// be written), those computed now; every document computed when the file keeps none.
QStringList sourcesOf(Database& db) {
    if (totals_cache::present(db) && !totals_cache::hasStale(db)) return {QStringLiteral("pylon_totals")};
    if (totals_cache::present(db))
        return {QStringLiteral("pylon_totals"), QStringLiteral("(%1)").arg(totals_cache::computedRows(true))};
    return {QStringLiteral("(%1)").arg(totals_cache::computedRows(false))};
}

bool addMonths(Database& db, const QString& source, const Span& span, std::vector<MonthSales>& months) {
    // Grouped by day, which the sales index is ordered by, then gathered into months here.
    auto st = db.prepare(
        QStringLiteral(
            "SELECT DateFact, count(*), count(HT), count(CreditHT), sum(Credit), sum(HT), sum(TVA), "
            "sum(CreditHT), sum(CreditTVA) FROM %1 "
            "WHERE Sales = 1 AND DateFact >= ? AND DateFact < ? GROUP BY DateFact")
            .arg(source));
    if (!st || !st->bindAll({span.from, span.to})) return false;
    const QDate first = dates::fromStored(span.from).value_or(QDate());
    while (st->step()) {
        const auto day = dates::fromStored(st->value(0));
        if (!day) continue;
        const int index = (day->year() - first.year()) * 12 + day->month() - first.month();
        if (index < 0 || index >= int(months.size())) continue;
        MonthSales& m = months[size_t(index)];
        const int documents = st->value(1).toInt();
        m.documents += documents;
        // A total beyond the range of amounts is kept as none, and left out of the sums.
        m.unreadable += 2 * documents - st->value(2).toInt() - st->value(3).toInt();
        m.creditNotes += st->value(4).toInt();
        const auto add = [&](Amount& to, int column) {
            to = Amount(to.tenThousandths() + st->value(column).toLongLong());
        };
        add(m.ht, 5);
        add(m.tva, 6);
        add(m.creditHt, 7);
        add(m.creditTva, 8);
    }
    return st->ok();
}

struct ClientTotal {
    QVariant client;
    qint64 netHt = 0;
    int documents = 0;
    qlonglong lastNumber = 0;
};

bool addClients(Database& db, const QString& source, const Span& span, QHash<QString, ClientTotal>& clients) {
    auto st =
        db.prepare(QStringLiteral("SELECT NumCli, sum(HT), sum(CreditHT), "
                                  "count(*), max(NumFact) FROM %1 WHERE Sales = 1 AND DateFact >= ? AND "
                                  "DateFact < ? GROUP BY NumCli")
                       .arg(source));
    if (!st || !st->bindAll({span.from, span.to})) return false;
    while (st->step()) {
        const QVariant client = st->value(0);
        ClientTotal& c = clients[client.toString()];
        c.client = client;
        c.netHt += st->value(1).toLongLong() - st->value(2).toLongLong();
        c.documents += st->value(3).toInt();
        c.lastNumber = std::max(c.lastNumber, st->value(4).toLongLong());
    }
    return st->ok();
}

} // namespace

std::optional<SalesSummary> salesSummary(Database& db, const QDate& today) {
    if (auto preparing = salesSummaryBefore(db)) return preparing;
    return readSalesSummary(db, today);
}

std::optional<SalesSummary> salesSummaryBefore(Database& db) {
    totals_cache::refresh(db);
    // A file that can be written gets its totals from the preparation; computed here, a million of them
    // would hold the window for seconds.
    if (!db.readOnly() &&
        (!totals_cache::present(db) || totals_cache::staleCount(db, totals_cache::kComputedOnTheSpot + 1) >
                                           totals_cache::kComputedOnTheSpot)) {
        SalesSummary s;
        s.preparing = true;
        return s;
    }
    return std::nullopt;
}

std::optional<SalesSummary> readSalesSummary(Database& db, const QDate& today) {
    const QDate thisMonth(today.year(), today.month(), 1);
    const QDate firstMonth = thisMonth.addMonths(1 - kMonths);
    const QString end = dates::toStored(thisMonth.addMonths(1));
    const Span twelveMonths{dates::toStored(firstMonth), end};
    const Span thisYear{dates::toStored(QDate(today.year(), 1, 1)), end};

    SalesSummary s;
    for (int i = 0; i < kMonths; ++i) {
        const QDate m = firstMonth.addMonths(i);
        MonthSales month;
        month.year = m.year();
        month.month = m.month();
        s.months.push_back(month);
    }
    QHash<QString, ClientTotal> clients;
    for (const QString& source : sourcesOf(db))
        if (!addMonths(db, source, twelveMonths, s.months) || !addClients(db, source, thisYear, clients))
            return std::nullopt;

    std::vector<ClientTotal> ranked(clients.begin(), clients.end());
    const auto more = [](const ClientTotal& a, const ClientTotal& b) {
        return a.netHt != b.netHt ? a.netHt > b.netHt : a.client.toLongLong() < b.client.toLongLong();
    };
    const size_t kept = std::min(ranked.size(), size_t(kBestClients));
    std::partial_sort(ranked.begin(), ranked.begin() + qsizetype(kept), ranked.end(), more);
    auto name = db.prepare(QStringLiteral("SELECT NomCli FROM Facture WHERE NumFact = ? LIMIT 1"));
    if (!name) return std::nullopt;
    for (size_t i = 0; i < kept; ++i) {
        const ClientTotal& c = ranked[i];
        if (!name->reset() || !name->bind(0, c.lastNumber)) return std::nullopt;
        const QString written = name->step() ? name->value(0).toString() : QString();
        if (!name->ok()) return std::nullopt;
        s.bestClients.push_back({c.client, written, Amount(c.netHt), c.documents});
    }
    return s;
}

} // namespace pylon
