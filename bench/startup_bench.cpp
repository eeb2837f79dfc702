// Start-up as the user meets it, from the moment the program is started to the editor painted with the
// first invoice, in a process of its own on each demo database; and the display of a document alone.
#include "editor/show_document.h"
#include "support.h"

#include <QFile>
#include <benchmark/benchmark.h>
#include <chrono>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

struct Run {
    double ms = 0;
    double peakMegabytes = 0;
    bool shown = false;
};

// The program opens the VelD of its own folder: it is linked into the demo's folder and started there,
// with the developers' switch that makes it say when the first document is painted, and quit.
Run startProgram(const QString& folder) {
    Run run;
    const QByteArray program = (folder + QStringLiteral("/pylon")).toLocal8Bit();
    QFile::remove(QString::fromLocal8Bit(program));
    if (::link(PYLON_PROGRAM, program.constData()) != 0 &&
        !QFile::copy(QStringLiteral(PYLON_PROGRAM), QString::fromLocal8Bit(program)))
        return run;
    setenv("PYLON_REPORT_FIRST_DISPLAY", "1", 1);
    int out[2];
    if (pipe(out) != 0) return run;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char* argv[] = {const_cast<char*>(program.constData()), nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const bool spawned = posix_spawn(&pid, program.constData(), &actions, nullptr, argv, environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    unsetenv("PYLON_REPORT_FIRST_DISPLAY");
    QByteArray said;
    char buffer[256];
    ssize_t n = 0;
    while (spawned && !said.contains('\n') && (n = read(out[0], buffer, sizeof buffer)) > 0)
        said.append(buffer, n);
    run.ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    run.shown = said.contains("first display");
    run.peakMegabytes = pylon::bench::megabytesIn(said);
    close(out[0]);
    int status = 0;
    if (spawned) waitpid(pid, &status, 0);
    return run;
}

void startToFirstDisplay(benchmark::State& state, const QString& folder) {
    double peak = 0;
    for (auto _ : state) {
        const Run run = startProgram(folder);
        if (!run.shown) {
            state.SkipWithError("the program did not show its first document");
            break;
        }
        state.SetIterationTime(run.ms / 1000.0);
        peak = std::max(peak, run.peakMegabytes);
    }
    state.counters["peak_MB"] = peak;
}

void BM_StartToFirstDisplay(benchmark::State& state) {
    startToFirstDisplay(state, pylon::bench::demoFolder(int(state.range(0))));
}

// The same on the file after ANALYZE: its statistics change no plan, so the start is as quick.
void BM_StartToFirstDisplayAnalyzed(benchmark::State& state) {
    startToFirstDisplay(state, pylon::bench::analyzedFolder(int(state.range(0))));
}

void BM_ShowCurrentDocument(benchmark::State& state) {
    pylon::bench::Editor e(int(state.range(0)));
    // Alternate between the first and the last invoice so that nothing is served from a warm row.
    bool last = false;
    for (auto _ : state) {
        state.PauseTiming();
        last ? e.m->rsDoc->MoveLast() : e.m->rsDoc->MoveFirst();
        last = !last;
        state.ResumeTiming();
        pylon::ShowCurrentDocument(*e.m);
    }
}

// The reading of the whole file for damage that follows the first display, on a thread of its own: how
// long the second core is busy with it after start.
void BM_DamageCheck(benchmark::State& state) {
    const QString file = pylon::bench::demoFolder(int(state.range(0))) + QStringLiteral("/VelD");
    for (auto _ : state) {
        pylon::Database db;
        if (!db.open(file, pylon::Database::Mode::ReadOnly) || !db.checkForDamage()) {
            state.SkipWithError("the demo database could not be read whole");
            break;
        }
    }
}

BENCHMARK(BM_StartToFirstDisplay)->Apply(pylon::bench::atBothSizes)->UseManualTime()->Iterations(10);
BENCHMARK(BM_StartToFirstDisplayAnalyzed)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(10);
BENCHMARK(BM_ShowCurrentDocument)->Apply(pylon::bench::atBothSizes);
BENCHMARK(BM_DamageCheck)->Apply(pylon::bench::atBothSizes)->Iterations(3);

} // namespace
