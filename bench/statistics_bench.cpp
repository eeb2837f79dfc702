// "S&tatistiques" on the demo databases. The client count comes from the shared client list,
// which is built on first use and again after every write; a press right after a save pays for that list,
// a second press does not. Both are measured, and the whole command with its message box answered.
#include "commands/statistics.h"
#include "support.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <benchmark/benchmark.h>

namespace {

void BM_StatisticsRepeatedPress(benchmark::State& state) {
    pylon::bench::Editor e(int(state.range(0)));
    QString text = pylon::statisticsText(pylon::countDocuments(e.m->db));
    for (auto _ : state) {
        text = pylon::statisticsText(pylon::countDocuments(e.m->db));
        benchmark::DoNotOptimize(text);
    }
    // The counts, so that a run shows what was counted.
    state.SetLabel(text.section(QStringLiteral("\r\n"), 2)
                       .replace(QStringLiteral("\r\n"), QStringLiteral(" "))
                       .toStdString());
}

void BM_StatisticsAfterAWrite(benchmark::State& state) {
    pylon::bench::Editor e(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        e.m->requeryAfterWrite(); // what every save and deletion does
        state.ResumeTiming();
        benchmark::DoNotOptimize(pylon::statisticsText(pylon::countDocuments(e.m->db)));
    }
}

void BM_StatisticsCommand(benchmark::State& state) {
    pylon::bench::Editor e(int(state.range(0)));
    pylon::countDocuments(e.m->db);
    for (auto _ : state) {
        QTimer::singleShot(0, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->accept();
        });
        pylon::Command11_Click(*e.m);
    }
}

BENCHMARK(BM_StatisticsRepeatedPress)->Apply(pylon::bench::atBothSizes);
BENCHMARK(BM_StatisticsAfterAWrite)->Apply(pylon::bench::atBothSizes)->Iterations(5);
BENCHMARK(BM_StatisticsCommand)->Apply(pylon::bench::atBothSizes);

} // namespace
