// Changing one line of a stored invoice of the demo database through the line edit dialog:
// its lines rewritten in one transaction, the view reopened on the invoice and the invoice shown again.
#include "editing/form5.h"
#include "editing/line_dialog.h"
#include "editor/show_document.h"
#include "support.h"

#include <benchmark/benchmark.h>

namespace {

void BM_RewriteOneLine(benchmark::State& state) {
    pylon::bench::Editor e(int(state.range(0)), true);
    pylon::Session& m = *e.m;
    Ui::Form1& ui = pylon::Form1TestAccess::ui(*e.form);
    // An invoice from the middle of the file, so that neither end of the indexes is favoured.
    const QString number =
        m.db.scalar(QStringLiteral(
                        "SELECT NumFact FROM Facture WHERE TypeFact = 'Facture' ORDER BY NumFact "
                        "LIMIT 1 OFFSET (SELECT count(*) / 2 FROM Facture WHERE TypeFact = 'Facture')"))
            .toString();
    m.rsDoc->FindFirst(QStringLiteral("NumFact=") + number);
    pylon::ShowCurrentDocument(m);
    if (ui.txtNumFact->text() != number || ui.List1->count() == 0) {
        state.SkipWithError("no invoice to edit");
        return;
    }
    const qint64 linesBefore = m.db.scalar(QStringLiteral("SELECT count(*) FROM DetFact")).toLongLong();
    for (auto _ : state) {
        state.PauseTiming();
        ui.List1->setCurrentRow(0);
        pylon::LineColumn_DblClick(m);
        pylon::Form5& d = pylon::lineDialog(m);
        // The same price and amount typed again: the file ends as it began.
        const QString price = d.ui.Text4->text().trimmed(), amount = d.ui.Text5->text().trimmed();
        d.ui.Text4->setText(price);
        d.ui.Text5->setText(amount);
        state.ResumeTiming();
        pylon::Form5_Command1_Click(m);
    }
    if (ui.txtNumFact->text() != number ||
        m.db.scalar(QStringLiteral("SELECT count(*) FROM DetFact")).toLongLong() != linesBefore)
        state.SkipWithError("the rewrite lost or moved lines");
}

BENCHMARK(BM_RewriteOneLine)->Apply(pylon::bench::atBothSizes);

} // namespace
