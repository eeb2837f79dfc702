#include "demo_data.h"

#include "demo_catalogue.h"
#include "demo_random.h"
#include "demo_writer.h"
#include "store/database.h"
#include "store/schema.h"

#include <algorithm>
#include <array>
#include <map>

namespace pylon::demo {

qint64 numberBase(qint64 documents) {
    qint64 base = 1000;
    while (base < 10 * documents)
        base *= 10;
    return base;
}

namespace {

// The demo ends on a fixed day rather than today, so that a seed gives the same file whenever it is run.
const QDate kLastDay(2026, 6, 30);
// About this many documents a month; fewer documents cover fewer months, down to one.
constexpr qint64 kDocumentsPerMonth = 8;
constexpr qint64 kMaxMonths = 36;
constexpr qint64 kMaxLinesPerDocument = 32;
// Share of the sales made to on-account customers, in percent.
constexpr int kOnAccountShare = 35;

struct Party {
    QString name;
    QString address;
};

// A delivery note an on-account customer received this month, waiting for the month-end invoice.
struct Delivery {
    qint64 number;
    QDate date;
    qint64 totalCents;
};

qint64 totalCents(const std::vector<Line>& lines) {
    qint64 sum = 0;
    for (const Line& l : lines)
        sum += l.amountCents();
    return sum;
}

class Generator {
  public:
    Generator(DemoWriter& writer, const DemoOptions& options)
        : writer_(writer), rng_(options.seed), total_(options.documents), base_(numberBase(total_)),
          nextQuote_(base_ + 1), nextOrder_(2 * base_ + 1) {
        const qint64 months =
            std::clamp((total_ + kDocumentsPerMonth - 1) / kDocumentsPerMonth, qint64(1), kMaxMonths);
        first_ = QDate(kLastDay.year(), kLastDay.month(), 1).addMonths(-int(months - 1));
        days_ = first_.daysTo(kLastDay) + 1;
        regularTarget_ = std::clamp(total_ / 8, qint64(4), qint64(5000));
        // Enough on-account customers for each to take a few documents a month.
        onAccountTarget_ = std::clamp(total_ / months / 15, qint64(2), qint64(1000));
        supplierTarget_ = std::clamp(total_ / 50, qint64(2), qint64(300));
    }

    bool run(DemoSummary& summary) {
        QDate month = dateOf(0);
        while (written_ < total_) {
            const QDate d = dateOf(written_);
            if (d.month() != month.month() || d.year() != month.year()) {
                if (!closeMonth(month)) return false;
                month = d;
                ++monthIndex_;
                continue;
            }
            if (!writeOrdinary(d)) return false;
        }
        for (size_t i = 0; i < clients_.size(); ++i)
            if (!writer_.writeParty(qint64(i) + 1, isOnAccount_[i], false)) return false;
        for (size_t i = 0; i < suppliers_.size(); ++i)
            if (!writer_.writeParty(base_ + qint64(i) + 1, false, true)) return false;
        summary = {written_, writer_.lineCount(), qint64(clients_.size()), qint64(suppliers_.size())};
        return true;
    }

  private:
    // Dates grow with the documents, spread evenly; nobody works on Sunday.
    QDate dateOf(qint64 index) const {
        QDate d = first_.addDays(index * days_ / total_);
        if (d.dayOfWeek() == Qt::Sunday) d = d.addDays(d < kLastDay ? 1 : -1);
        return d;
    }

    bool write(const Document& doc) {
        ++written_;
        return writer_.write(doc);
    }

    bool writeOrdinary(QDate date) {
        const auto r = rng_.below(100);
        if (r < 8) {
            Document d = header(nextOrder_++, date, chooseSupplier(), schema::kOrder);
            d.lines = makeLines(true);
            return write(d);
        }
        if (r < 22) {
            Document d = header(nextQuote_++, date, chooseClient(rng_.percent(15)), schema::kQuote);
            d.lines = makeLines(false);
            return write(d);
        }
        const bool onAccount = rng_.percent(kOnAccountShare);
        const qint64 client = chooseClient(onAccount);
        const bool delivery = onAccount ? rng_.percent(75) : rng_.percent(10);
        Document d = header(nextShared_++, date, client, delivery ? schema::kDelivery : schema::kInvoice);
        d.lines = makeLines(false);
        if (!delivery) {
            d.cancelled = rng_.percent(3);
            if (!d.cancelled && rng_.percent(5)) d.creditLines = makeCreditLines(d.lines);
        } else if (onAccount) {
            deliveries_[client].push_back({d.number, date, totalCents(d.lines)});
        }
        return write(d);
    }

    // On-account customers are invoiced once a month for the delivery notes they received, up to one
    // invoice line per note; a customer with a single note that month simply waits.
    bool closeMonth(QDate inMonth) {
        QDate last(inMonth.year(), inMonth.month(), inMonth.daysInMonth());
        if (last.dayOfWeek() == Qt::Sunday) last = last.addDays(-1);
        for (const auto& [client, notes] : deliveries_) {
            if (notes.size() < 2) continue;
            for (size_t from = 0; from < notes.size() && written_ < total_; from += kMaxLinesPerDocument) {
                Document d = header(nextShared_++, last, client, schema::kMonthEnd);
                const size_t to = std::min(notes.size(), from + size_t(kMaxLinesPerDocument));
                for (size_t i = from; i < to; ++i) {
                    const QString what = QStringLiteral("Bon de livraison n° %1 du %2")
                                             .arg(notes[i].number)
                                             .arg(notes[i].date.toString(QStringLiteral("dd/MM/yyyy")));
                    d.lines.push_back({QStringLiteral(" "), 100, what, notes[i].totalCents});
                }
                if (!write(d)) return false;
            }
        }
        deliveries_.clear();
        return true;
    }

    Document header(qint64 number, QDate date, qint64 party, const QString& kind) const {
        const Party& p = party > base_ ? suppliers_[size_t(party - base_ - 1)] : clients_[size_t(party - 1)];
        Document d;
        d.number = number;
        d.date = date;
        d.party = party;
        d.name = p.name;
        d.address = p.address;
        d.kind = kind;
        return d;
    }

    // A new customer now and then, at a pace that reaches the intended number by the end; otherwise one
    // already known.
    qint64 chooseClient(bool onAccount) {
        std::vector<qint64>& pool = onAccount ? onAccount_ : regular_;
        const qint64 target = onAccount ? onAccountTarget_ : regularTarget_;
        const qint64 missing = target - qint64(pool.size());
        const qint64 share = onAccount ? kOnAccountShare : 100 - kOnAccountShare;
        const qint64 visitsLeft = std::max(qint64(1), (total_ - written_) * share / 100);
        if (pool.empty() || (missing > 0 && qint64(rng_.below(std::uint64_t(visitsLeft))) < missing)) {
            clients_.push_back({clientName(rng_), postalAddress(rng_)});
            isOnAccount_.push_back(onAccount);
            pool.push_back(qint64(clients_.size()));
            return pool.back();
        }
        if (!onAccount) return pool[rng_.favouringFirst(pool.size())];
        // With only a few on-account customers, one of them takes most of the month's deliveries, so that
        // month-end invoices show up even in a small demo.
        if (pool.size() <= 3 && rng_.percent(60)) return pool[size_t(monthIndex_) % pool.size()];
        return pool[rng_.below(pool.size())];
    }

    qint64 chooseSupplier() {
        const qint64 missing = supplierTarget_ - qint64(suppliers_.size());
        const qint64 visitsLeft = std::max(qint64(1), (total_ - written_) * 8 / 100);
        if (suppliers_.empty() || (missing > 0 && qint64(rng_.below(std::uint64_t(visitsLeft))) < missing))
            suppliers_.push_back({supplierName(rng_), postalAddress(rng_)});
        else
            return base_ + 1 + qint64(rng_.favouringFirst(suppliers_.size()));
        return base_ + qint64(suppliers_.size());
    }

    std::vector<Line> makeLines(bool purchase) {
        const int count = rng_.percent(95) ? rng_.between(1, 8) : rng_.between(9, int(kMaxLinesPerDocument));
        std::vector<Line> lines;
        lines.reserve(size_t(count));
        for (int i = 0; i < count; ++i)
            lines.push_back(makeLine(rng_.pick(products()), purchase));
        return lines;
    }

    Line makeLine(const Product& p, bool purchase) {
        Line l;
        l.nb = rng_.percent(70) ? QStringLiteral("Réf. %1").arg(p.reference) : QStringLiteral(" ");
        l.designation = p.designation;
        l.quantity = p.divisible ? 25 * rng_.between(2, 80) : 100 * wholeQuantity(purchase);
        // Prices move a little from one document to the next; the trader buys at about 70 % of his price.
        const qint64 price = p.priceCents * (purchase ? 70 : 100) * rng_.between(92, 108) / 10000;
        l.priceCents = std::max(qint64(5), (price + 2) / 5 * 5);
        return l;
    }

    qint64 wholeQuantity(bool purchase) {
        static constexpr std::array<qint64, 8> kFew = {1, 1, 1, 2, 2, 3, 4, 5};
        static constexpr std::array<qint64, 7> kSome = {6, 10, 12, 20, 24, 25, 50};
        static constexpr std::array<qint64, 7> kWholesale = {10, 20, 24, 50, 100, 200, 500};
        if (purchase) return rng_.pick(std::span<const qint64>(kWholesale));
        const auto r = rng_.below(100);
        if (r < 70) return rng_.pick(std::span<const qint64>(kFew));
        if (r < 96) return rng_.pick(std::span<const qint64>(kSome));
        return 100 * rng_.between(1, 5);
    }

    // A credit note takes back some of the invoiced goods: one to five consecutive lines, whole quantities
    // sometimes only in part.
    std::vector<Line> makeCreditLines(const std::vector<Line>& invoiced) {
        const int n = rng_.between(1, std::min(5, int(invoiced.size())));
        const size_t from = rng_.below(invoiced.size() - size_t(n) + 1);
        std::vector<Line> back(invoiced.begin() + qint64(from), invoiced.begin() + qint64(from) + n);
        for (Line& l : back)
            if (l.quantity % 100 == 0 && l.quantity > 100)
                l.quantity = 100 * rng_.between(1, int(l.quantity / 100));
        return back;
    }

    DemoWriter& writer_;
    Rng rng_;
    const qint64 total_;
    const qint64 base_;
    QDate first_;
    qint64 days_ = 1;
    qint64 written_ = 0;
    qint64 monthIndex_ = 0;
    qint64 nextShared_ = 1;
    qint64 nextQuote_;
    qint64 nextOrder_;
    std::vector<Party> clients_; // client n is clients_[n - 1]
    std::vector<bool> isOnAccount_;
    std::vector<qint64> regular_;
    std::vector<qint64> onAccount_;
    std::vector<Party> suppliers_; // supplier base + n is suppliers_[n - 1]
    qint64 regularTarget_ = 0;
    qint64 onAccountTarget_ = 0;
    qint64 supplierTarget_ = 0;
    std::map<qint64, std::vector<Delivery>> deliveries_; // by customer, ordered for a stable numbering
};

} // namespace

bool writeDemo(Database& db, const DemoOptions& options, DemoSummary& summary) {
    DemoWriter writer(db);
    if (!writer.ready()) return false;
    Generator generator(writer, options);
    return generator.run(summary);
}

} // namespace pylon::demo
