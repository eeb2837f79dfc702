// The day's snapshot and the sales ledger of a month on the 200,000-document database; and the editor
// stepping through invoices while a snapshot is taken on its thread, which must not slow it down.
#include "backup/daily_snapshots.h"
#include "backup/snapshot.h"
#include "browse/navigation.h"
#include "figures/sales_ledger.h"
#include "safety/daily_backup.h"
#include "store/database.h"
#include "support.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QString demoFile(int documents) {
    return pylon::bench::demoFolder(documents) + QStringLiteral("/VelD");
}

void BM_BackupSnapshot(benchmark::State& state) {
    const QString source = demoFile(int(state.range(0)));
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("VelD-copie.db"));
    for (auto _ : state) {
        const pylon::snapshot::Outcome done = pylon::snapshot::copyDatabase(source, target);
        if (!done.ok) state.SkipWithError(done.detail.toUtf8().constData());
    }
    state.counters["MB"] = double(QFileInfo(target).size()) / 1e6;
}

// The month with the most invoices and month-end invoices.
void BM_SalesJournalOfAMonth(benchmark::State& state) {
    pylon::Database db;
    db.open(demoFile(int(state.range(0))), pylon::Database::Mode::ReadOnly);
    const QDate first = QDate::fromString(
        db.scalar(
              QStringLiteral("SELECT substr(DateFact, 1, 7) || '-01' AS mo FROM Facture WHERE TypeFact IN "
                             "('Facture', 'Facture M') GROUP BY mo ORDER BY count(*) DESC LIMIT 1"))
            .toString(),
        Qt::ISODate);
    size_t documents = 0;
    for (auto _ : state) {
        QString why;
        const auto ledger = pylon::readSalesLedger(db, first, first.addMonths(1).addDays(-1), &why);
        if (!ledger) state.SkipWithError(why.toUtf8().constData());
        documents = ledger ? ledger->entries.size() : 0;
        benchmark::DoNotOptimize(pylon::salesLedgerCsv(*ledger));
    }
    state.counters["documents"] = double(documents);
}

// ">" pressed again and again while the day's snapshot is taken: the slowest step tells whether the editor
// ever waited for the copy.
void BM_StepWhileBackingUp(benchmark::State& state) {
    pylon::bench::Editor e(int(state.range(0)));
    QTemporaryDir dir;
    pylon::BackupPlan plan;
    plan.database = e.m->databasePath();
    plan.folder = dir.path();
    plan.today = [] { return QDate::currentDate(); };
    auto* backup = new pylon::DailyBackup(*e.m, plan);
    bool running = false;
    QObject::connect(backup, &pylon::DailyBackup::finished, [&running] { running = false; });
    qint64 slowest = 0, steps = 0;
    for (auto _ : state) {
        running = true;
        backup->now();
        while (running) {
            QElapsedTimer clock;
            clock.start();
            const QString before = pylon::Form1TestAccess::ui(*e.form).txtNumFact->text();
            pylon::Command3_Click(*e.m);
            if (pylon::Form1TestAccess::ui(*e.form).txtNumFact->text() == before) pylon::Command1_Click(*e.m);
            slowest = std::max(slowest, clock.nsecsElapsed());
            ++steps;
            QCoreApplication::processEvents();
        }
    }
    state.counters["steps"] = double(steps) / double(state.iterations());
    state.counters["slowest_step_ms"] = double(slowest) / 1e6;
}

BENCHMARK(BM_BackupSnapshot)->Arg(200000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SalesJournalOfAMonth)->Arg(200000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StepWhileBackingUp)->Arg(200000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
