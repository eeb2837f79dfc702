// Filling the list window on the 200,000-document database: the invoices (about 100,000 rows) and the
// clients, as the "Factures" and "Clients" buttons do.
#include "browse/document_list.h"
#include "browse/party_list.h"
#include "support.h"

#include <benchmark/benchmark.h>

namespace {

void BM_FillInvoiceList(benchmark::State& state) {
    pylon::bench::Editor e(200000);
    for (auto _ : state)
        pylon::Command7_Click(*e.m);
}

void BM_FillClientList(benchmark::State& state) {
    pylon::bench::Editor e(200000);
    for (auto _ : state)
        pylon::Command9_Click(*e.m);
}

BENCHMARK(BM_FillInvoiceList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillClientList)->Unit(benchmark::kMillisecond);

} // namespace
