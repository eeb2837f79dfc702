// The benchmarks run the real windows on the offscreen platform. `pylon_bench --lists-scenario N` is the
// memory scenario that the list benchmark runs in a process of its own.
#include "support.h"
#include "widgets/fonts.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstring>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    pylon::setUpFonts();
    if (argc == 3 && std::strcmp(argv[1], "--lists-scenario") == 0)
        return pylon::bench::runListsScenario(std::atoi(argv[2]));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
