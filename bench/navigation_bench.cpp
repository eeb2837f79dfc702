// Stepping through the invoices of the 200,000-document database, as the ">" and "|<" buttons do.
#include "browse/navigation.h"
#include "support.h"

#include <benchmark/benchmark.h>

namespace {

void BM_StepNext(benchmark::State& state) {
    pylon::bench::Editor e(200000);
    QString before;
    for (auto _ : state) {
        before = e.form->ui.txtNumFact->text();
        pylon::Command3_Click(*e.m);
        if (e.form->ui.txtNumFact->text() == before) pylon::Command1_Click(*e.m); // at the end: start again
    }
}

void BM_StepFirstAndLast(benchmark::State& state) {
    pylon::bench::Editor e(200000);
    bool last = false;
    for (auto _ : state) {
        last ? pylon::Command4_Click(*e.m) : pylon::Command1_Click(*e.m);
        last = !last;
    }
}

BENCHMARK(BM_StepNext)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StepFirstAndLast)->Unit(benchmark::kMillisecond);

} // namespace
