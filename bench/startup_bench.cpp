// Start-up and display on demo databases of 20,000 and 200,000 documents.
#include "app/startup.h"
#include "editor/show_document.h"
#include "support.h"

#include <benchmark/benchmark.h>

namespace {

using pylon::bench::Editor;

void BM_StartupToFirstDisplay(benchmark::State& state) {
    pylon::bench::demoFolder(int(state.range(0)));
    for (auto _ : state) {
        Editor e(int(state.range(0)));
        benchmark::DoNotOptimize(e.form->ui.txtNumFact->text());
        state.PauseTiming();
        e.form->close();
        state.ResumeTiming();
    }
    state.counters["peak_MB"] = pylon::bench::peakMegabytes();
}

void BM_ShowCurrentDocument(benchmark::State& state) {
    Editor e(int(state.range(0)));
    // Alternate between the first and the last invoice so that nothing is served from a warm row.
    bool last = false;
    for (auto _ : state) {
        state.PauseTiming();
        last ? e.m->rsDoc->MoveLast() : e.m->rsDoc->MoveFirst();
        last = !last;
        state.ResumeTiming();
        pylon::ShowCurrentDocument(*e.m);
    }
    state.counters["peak_MB"] = pylon::bench::peakMegabytes();
}

BENCHMARK(BM_StartupToFirstDisplay)->Arg(20000)->Arg(200000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ShowCurrentDocument)->Arg(20000)->Arg(200000)->Unit(benchmark::kMillisecond);

} // namespace
