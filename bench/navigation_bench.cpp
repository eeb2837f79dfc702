// Stepping through the invoices and looking one up, as the "|<" "<" ">" ">|" buttons and Enter in the
// number and client fields do; each call is timed, for the slowest ones.
#include "browse/navigation.h"
#include "support.h"

#include <QRandomGenerator>
#include <benchmark/benchmark.h>

namespace {

using pylon::bench::CallTimes;
using pylon::bench::Editor;

void BM_StepNext(benchmark::State& state) {
    Editor e(int(state.range(0)));
    CallTimes times;
    QString before;
    for (auto _ : state) {
        before = e.form->ui.txtNumFact->text();
        times.time([&] { pylon::Command3_Click(*e.m); });
        if (e.form->ui.txtNumFact->text() == before) pylon::Command1_Click(*e.m); // at the end: start again
    }
    times.report(state);
}

void BM_StepFirstAndLast(benchmark::State& state) {
    Editor e(int(state.range(0)));
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

void lookUps(benchmark::State& state, const char* field) {
    Editor e(int(state.range(0)));
    const bool byClient = QLatin1String(field) == QLatin1String("NumCli");
    QLineEdit* box = byClient ? e.form->ui.txtNumCli : e.form->ui.txtNumFact;
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

void BM_LookUpNumber(benchmark::State& state) {
    lookUps(state, "NumFact");
}

void BM_LookUpClient(benchmark::State& state) {
    lookUps(state, "NumCli");
}

BENCHMARK(BM_StepNext)->Apply(pylon::bench::atBothSizes);
BENCHMARK(BM_StepFirstAndLast)->Apply(pylon::bench::atBothSizes);
BENCHMARK(BM_LookUpNumber)->Apply(pylon::bench::atBothSizes);
BENCHMARK(BM_LookUpClient)->Apply(pylon::bench::atBothSizes);

} // namespace
