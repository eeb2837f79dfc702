// Stepping through the invoices and looking one up, as the "|<" "<" ">" ">|" buttons and Enter in the
// number and client fields do; each call is timed, for the slowest ones.
#include "browse/navigation.h"
#include "support.h"

#include <QRandomGenerator>
#include <benchmark/benchmark.h>

namespace {

using pylon::bench::CallTimes;
using pylon::bench::Editor;

// The benchmarks run on the demo file as it is and, at a million documents, on its copy after ANALYZE:
// the statements are written so that SQLite's statistics change none of their plans.
void stepNext(benchmark::State& state, bool analyzed) {
    Editor e(int(state.range(0)), false, analyzed);
    CallTimes times;
    QString before;
    for (auto _ : state) {
        before = pylon::Form1TestAccess::ui(*e.form).txtNumFact->text();
        times.time([&] { pylon::Command3_Click(*e.m); });
        if (pylon::Form1TestAccess::ui(*e.form).txtNumFact->text() == before)
            pylon::Command1_Click(*e.m); // at the end: start again
    }
    times.report(state);
}

void stepFirstAndLast(benchmark::State& state, bool analyzed) {
    Editor e(int(state.range(0)), false, analyzed);
    CallTimes times;
    bool last = false;
    for (auto _ : state) {
        times.time([&] { last ? pylon::Command4_Click(*e.m) : pylon::Command1_Click(*e.m); });
        last = !last;
    }
    times.report(state);
}

// Numbers or clients of invoices from all over the file, looked up in turn.
QStringList invoiceValues(pylon::Session& m, const char* field) {
    QStringList out;
    auto st =
        m.db.prepare(QStringLiteral("SELECT %1 FROM Facture WHERE TypeFact = 'Facture' ORDER BY random() "
                                    "LIMIT 500")
                         .arg(QLatin1String(field)));
    while (st && st->step())
        out << st->value(0).toString();
    return out;
}

void lookUps(benchmark::State& state, const char* field, bool analyzed) {
    Editor e(int(state.range(0)), false, analyzed);
    const bool byClient = QLatin1String(field) == QLatin1String("NumCli");
    QLineEdit* box = byClient ? pylon::Form1TestAccess::ui(*e.form).txtNumCli
                              : pylon::Form1TestAccess::ui(*e.form).txtNumFact;
    const QStringList values = invoiceValues(*e.m, field);
    if (values.isEmpty()) {
        state.SkipWithError("no invoice to look up");
        return;
    }
    CallTimes times;
    qsizetype i = 0;
    for (auto _ : state) {
        box->setText(values[i++ % values.size()]);
        int enter = 13;
        times.time([&] {
            byClient ? pylon::txtNumCli_KeyPress(*e.m, enter) : pylon::txtNumFact_KeyPress(*e.m, enter);
        });
    }
    times.report(state);
}

// "<" from invoices all over the file, low numbers among them: each reached by its number first,
// untimed.
void stepPrevious(benchmark::State& state, bool analyzed) {
    Editor e(int(state.range(0)), false, analyzed);
    QStringList values = invoiceValues(*e.m, "NumFact");
    auto lowest = e.m->db.prepare(
        QStringLiteral("SELECT NumFact FROM Facture WHERE TypeFact = 'Facture' ORDER BY NumFact LIMIT 20"));
    while (lowest && lowest->step())
        values << lowest->value(0).toString();
    if (values.isEmpty()) {
        state.SkipWithError("no invoice to step from");
        return;
    }
    CallTimes times;
    qsizetype i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        pylon::Form1TestAccess::ui(*e.form).txtNumFact->setText(values[i++ % values.size()]);
        pylon::lookUpDocumentNumber(*e.m);
        state.ResumeTiming();
        times.time([&] { pylon::Command2_Click(*e.m); });
    }
    times.report(state);
}

void BM_StepNext(benchmark::State& state) {
    stepNext(state, false);
}
void BM_StepPrevious(benchmark::State& state) {
    stepPrevious(state, false);
}
void BM_StepFirstAndLast(benchmark::State& state) {
    stepFirstAndLast(state, false);
}
void BM_LookUpNumber(benchmark::State& state) {
    lookUps(state, "NumFact", false);
}
void BM_LookUpClient(benchmark::State& state) {
    lookUps(state, "NumCli", false);
}
void BM_StepNextAnalyzed(benchmark::State& state) {
    stepNext(state, true);
}
void BM_StepPreviousAnalyzed(benchmark::State& state) {
    stepPrevious(state, true);
}
void BM_StepFirstAndLastAnalyzed(benchmark::State& state) {
    stepFirstAndLast(state, true);
}
void BM_LookUpNumberAnalyzed(benchmark::State& state) {
    lookUps(state, "NumFact", true);
}
void BM_LookUpClientAnalyzed(benchmark::State& state) {
    lookUps(state, "NumCli", true);
}

void atAMillionAnalyzed(benchmark::internal::Benchmark* b) {
    b->Arg(1000000)->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_StepNext)->Apply(pylon::bench::atBothSizes);
BENCHMARK(BM_StepPrevious)->Apply(pylon::bench::atBothSizes);
BENCHMARK(BM_StepFirstAndLast)->Apply(pylon::bench::atBothSizes);
BENCHMARK(BM_LookUpNumber)->Apply(pylon::bench::atBothSizes);
BENCHMARK(BM_LookUpClient)->Apply(pylon::bench::atBothSizes);
BENCHMARK(BM_StepNextAnalyzed)->Apply(atAMillionAnalyzed);
BENCHMARK(BM_StepPreviousAnalyzed)->Apply(atAMillionAnalyzed);
BENCHMARK(BM_StepFirstAndLastAnalyzed)->Apply(atAMillionAnalyzed);
BENCHMARK(BM_LookUpNumberAnalyzed)->Apply(atAMillionAnalyzed);
BENCHMARK(BM_LookUpClientAnalyzed)->Apply(atAMillionAnalyzed);

} // namespace
