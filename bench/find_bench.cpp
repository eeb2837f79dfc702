// The search window and the dashboard on the 1,000,000-document database: a search for each kind of
// criterion, as the window runs it a moment after the user stops typing, and the dashboard's figures.
#include "figures/document_search.h"
#include "figures/sales_summary.h"
#include "find/dashboard.h"
#include "find/search_window.h"
#include "support.h"

#include <benchmark/benchmark.h>

namespace {

using namespace pylon;

constexpr int kDocuments = 1000000;

struct Typed {
    const char* label;
    SearchCriteria criteria;
};

// The demo business: "Cherkaoui" names one client of 7,210 documents, "a" nearly every client, "4010" a
// client number, and the demo's documents run from July 2023 to June 2026.
const std::vector<Typed>& typed() {
    static const std::vector<Typed> cases = [] {
        std::vector<Typed> c;
        const auto add = [&](const char* label, auto&& fill) {
            Typed t{label, {}};
            fill(t.criteria);
            c.push_back(t);
        };
        add("nothing typed", [](SearchCriteria&) {});
        add("a client's name, 'cherk'", [](SearchCriteria& s) { s.client = QStringLiteral("cherk"); });
        add("a part of most names, 'a'", [](SearchCriteria& s) { s.client = QStringLiteral("a"); });
        add("a client number, '4010'", [](SearchCriteria& s) { s.client = QStringLiteral("4010"); });
        add("no client matches", [](SearchCriteria& s) { s.client = QStringLiteral("zzz"); });
        add("a month", [](SearchCriteria& s) {
            s.from = QDate(2026, 3, 1);
            s.to = QDate(2026, 3, 31);
        });
        add("a kind, quotes", [](SearchCriteria& s) { s.kind = DocKind::Quote; });
        add("carrying a credit note", [](SearchCriteria& s) { s.kind = DocKind::CreditNote; });
        add("T.T.C. 1000 to 1001", [](SearchCriteria& s) {
            s.minTotal = parseAmount(QStringLiteral("1000"));
            s.maxTotal = parseAmount(QStringLiteral("1001"));
        });
        add("T.T.C. above 100000",
            [](SearchCriteria& s) { s.minTotal = parseAmount(QStringLiteral("100000")); });
        add("'hotel' and T.T.C. 500 to 600", [](SearchCriteria& s) {
            s.client = QStringLiteral("hotel");
            s.minTotal = parseAmount(QStringLiteral("500"));
            s.maxTotal = parseAmount(QStringLiteral("600"));
        });
        add("'a', a month and month-end invoices", [](SearchCriteria& s) {
            s.client = QStringLiteral("a");
            s.from = QDate(2026, 3, 1);
            s.to = QDate(2026, 3, 31);
            s.kind = DocKind::MonthEnd;
        });
        return c;
    }();
    return cases;
}

void BM_Search(benchmark::State& state) {
    bench::Editor e(kDocuments);
    const Typed& t = typed()[size_t(state.range(0))];
    DocumentSearch search;
    std::optional<SearchResult> found = search.find(e.m->db, t.criteria);
    for (auto _ : state) {
        found = search.find(e.m->db, t.criteria);
        benchmark::DoNotOptimize(found);
    }
    state.SetLabel(QStringLiteral("%1: %2%3 shown")
                       .arg(QString::fromUtf8(t.label))
                       .arg(found ? found->documents.size() : 0)
                       .arg(found && found->more ? "+" : "")
                       .toStdString());
}

// The first search after a save computes the saved document's totals, in a write of its own.
void BM_SearchAfterASave(benchmark::State& state) {
    bench::Editor e(kDocuments, true);
    DocumentSearch search;
    SearchCriteria c;
    c.client = QStringLiteral("cherk");
    qlonglong number = 90000000;
    for (auto _ : state) {
        state.PauseTiming();
        e.m->db.exec(
            QStringLiteral("INSERT INTO DetFact VALUES (%1, ' ', '1', 'x', '1,00', '1,00');"
                           "INSERT INTO Facture VALUES (%1, '2026-06-30', 4010, 'Librairie Cherkaoui', "
                           "'', 'Facture', 0, 0)")
                .arg(++number));
        state.ResumeTiming();
        benchmark::DoNotOptimize(search.find(e.m->db, c));
    }
}

// The whole window: the criteria read from its fields, the search, the table filled and sorted.
void BM_SearchWindow(benchmark::State& state) {
    bench::Editor e(kDocuments);
    SearchWindow& w = searchWindow(*e.m);
    w.ui.txtClient->setText(QStringLiteral("cherk"));
    for (auto _ : state) {
        w.search();
        // On a large file the search runs on a thread: its results, shown.
        while (w.searching())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
}

// Twelve months up to June 2026, the demo's last: every month full.
void BM_SalesSummary(benchmark::State& state) {
    bench::Editor e(kDocuments);
    for (auto _ : state)
        benchmark::DoNotOptimize(salesSummary(e.m->db, QDate(2026, 6, 30)));
}

// The whole window on today's date: the figures, the chart made again, the best clients.
void BM_DashboardRefresh(benchmark::State& state) {
    bench::Editor e(kDocuments);
    DashboardWindow& w = dashboardWindow(*e.m);
    for (auto _ : state) {
        w.refresh();
        while (w.reading())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
}

BENCHMARK(BM_Search)->DenseRange(0, 11)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchAfterASave)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_SearchWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SalesSummary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DashboardRefresh)->Unit(benchmark::kMillisecond);

} // namespace
