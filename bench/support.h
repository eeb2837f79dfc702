#pragma once
// Demo databases for the benchmarks, made once under the build folder, and an editor opened on them.
// Every measure is taken at two sizes: 200,000 documents and the million a busy shop reaches in ten years.
#include "editor/form1.h"
#include "editor/session.h"
#include "support/form1_access.h"

#include <QString>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace pylon::bench {

// Runs a benchmark once per size, its argument being the number of documents.
void atBothSizes(benchmark::internal::Benchmark* b);

// The folder holding a demo database of n documents, made the first time it is asked for.
QString demoFolder(int documents);
// The same file after ANALYZE, as `PRAGMA optimize` or another tool may leave it: SQLite's statistics
// (sqlite_stat1) in it. Copied from the demo file and analysed the first time it is asked for.
QString analyzedFolder(int documents);
// The most memory this process has held at once so far.
double peakMegabytes();
// The same, read from a text holding the kernel's "VmHWM:" line.
double megabytesIn(const QByteArray& status);
// The memory it holds now.
double residentMegabytes();

// A copy of a demo database for a benchmark that writes, on the disk before the benchmark starts.
void copyDatabase(const QString& from, const QString& to);

// A wired editor on the demo database of n documents, as the program starts it (on its analysed copy with
// analyzed).
struct Editor {
    // With scratch, on a copy of the database that is thrown away afterwards, for benchmarks that write.
    explicit Editor(int documents, bool scratch = false, bool analyzed = false);
    ~Editor();
    std::unique_ptr<QTemporaryDir> copy;
    std::unique_ptr<Session> m;
    std::unique_ptr<Form1> form;
};

// The time of each call, for the share of slow ones: a step must fit in a frame nearly every time, not
// only on average. Adds the median and the 95th percentile, in milliseconds, to the benchmark's counters.
class CallTimes {
  public:
    template <typename F> void time(F&& call) {
        const auto start = std::chrono::steady_clock::now();
        call();
        ms_.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    void report(benchmark::State& state);

  private:
    std::vector<double> ms_;
};

// The memory scenario, run by the benchmark binary in a process of its own so that nothing measured
// before counts: the lists opened, scrolled and closed again and again on the demo database of n
// documents. Prints the peak resident memory in megabytes and returns the process's exit code.
int runListsScenario(int documents);

} // namespace pylon::bench
