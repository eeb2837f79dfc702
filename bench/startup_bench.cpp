// Start-up and display on demo databases of 20,000 and 200,000 documents.
// Run: build/bench/pylon_bench   (the databases are made once in build/bench-data)
#include "app/module1.h"
#include "app/startup.h"
#include "app/wiring.h"
#include "editor/fonts.h"
#include "editor/form1.h"
#include "editor/show_document.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {

// The folder holding a demo database of n documents, made on first use.
QString demoFolder(int n) {
    const QString dir = QStringLiteral(PYLON_BENCH_DATA) + QStringLiteral("/%1").arg(n);
    const QString file = dir + QStringLiteral("/VelD");
    if (!QFileInfo::exists(file)) {
        QDir().mkpath(dir);
        QProcess::execute(QStringLiteral(PYLON_DB_TOOL),
                          {QStringLiteral("demo"), file, QStringLiteral("--documents"), QString::number(n)});
    }
    return dir;
}

double peakMegabytes() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_maxrss) / 1024.0;
}

void BM_StartupToFirstDisplay(benchmark::State& state) {
    const QString dir = demoFolder(int(state.range(0)));
    for (auto _ : state) {
        pylon::Module1 m;
        m.appPath = dir;
        pylon::Form1 editor(m);
        pylon::Form1_Load(m);
        benchmark::DoNotOptimize(editor.ui.txtNumFact->text());
        state.PauseTiming();
        editor.close();
        state.ResumeTiming();
    }
    state.counters["peak_MB"] = peakMegabytes();
}

void BM_ShowCurrentDocument(benchmark::State& state) {
    const QString dir = demoFolder(int(state.range(0)));
    pylon::Module1 m;
    m.appPath = dir;
    pylon::Form1 editor(m);
    pylon::Form1_Load(m);
    // Alternate between the first and the last invoice so that nothing is served from a warm row.
    bool last = false;
    for (auto _ : state) {
        state.PauseTiming();
        last ? m.rsDoc->MoveLast() : m.rsDoc->MoveFirst();
        last = !last;
        state.ResumeTiming();
        pylon::ShowCurrentDocument(m);
    }
    state.counters["lines"] = editor.ui.List1->count();
    state.counters["peak_MB"] = peakMegabytes();
}

BENCHMARK(BM_StartupToFirstDisplay)->Arg(20000)->Arg(200000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ShowCurrentDocument)->Arg(20000)->Arg(200000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    pylon::setUpFonts();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
