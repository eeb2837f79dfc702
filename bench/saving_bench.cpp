// Saving a 32-line invoice into the demo database, as "&Valider" does after an entry.
#include "editing/new_document.h"
#include "editing/saving.h"
#include "editor/show_document.h"
#include "support.h"

#include <benchmark/benchmark.h>

namespace {

void BM_SaveThirtyTwoLines(benchmark::State& state) {
    pylon::bench::Editor e(int(state.range(0)), true);
    Ui::Form1& ui = pylon::Form1TestAccess::ui(*e.form);
    for (auto _ : state) {
        state.PauseTiming();
        pylon::Command5_Click(*e.m);
        ui.txtNumCli->setText(QStringLiteral("12"));
        ui.txtNomCli->setText(QStringLiteral("Client de mesure"));
        ui.txtAdrCli->setPlainText(QStringLiteral("1, rue des Essais\nRabat"));
        for (int i = 0; i < 32; ++i)
            pylon::appendLine(*e.m, {QStringLiteral("R%1").arg(i), QStringLiteral("2"),
                                     QStringLiteral("Article de mesure numéro %1").arg(i),
                                     QStringLiteral("12,50"), QStringLiteral("25,00")});
        state.ResumeTiming();
        pylon::Command6_Click(*e.m);
    }
}

BENCHMARK(BM_SaveThirtyTwoLines)->Apply(pylon::bench::atBothSizes);

} // namespace
