// The list window, as the "Factures" and "Clients" buttons and the credit note's "Aj&outer" open it:
// filled, laid out and painted; and the invoice list scrolled to its end, where the last row is
// double-clicked. The memory the lists take, opened and closed ten times over, is measured in a process of
// its own.
#include "browse/attach_list.h"
#include "browse/document_list.h"
#include "browse/form2.h"
#include "browse/list_window.h"
#include "browse/party_list.h"
#include "support.h"

#include <QApplication>
#include <QProcess>
#include <QScrollBar>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

using pylon::bench::Editor;

// The window as the user sees it: its rows read (on a thread, on a large file), laid out and the visible
// ones painted.
void shown(pylon::Form2& w) {
    while (w.pendingRead)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    QApplication::processEvents();
    w.repaint();
}

template <typename Open> void listShown(benchmark::State& state, Open open) {
    Editor e(int(state.range(0)));
    for (auto _ : state) {
        open(*e.m);
        shown(pylon::listWindow(*e.m));
    }
    state.counters["rows"] = double(pylon::listWindow(*e.m).ui.List1->count());
}

void BM_InvoiceList(benchmark::State& state) {
    listShown(state, pylon::Command7_Click);
}

void BM_ClientList(benchmark::State& state) {
    listShown(state, pylon::Command9_Click);
}

void BM_AttachList(benchmark::State& state) {
    listShown(state, pylon::showAttachList);
}

// The last row of the first column, scrolled to and double-clicked: the editor shows its document.
bool pickLastRow(pylon::Session& m) {
    pylon::Form2& w = pylon::listWindow(m);
    pylon::ListColumn* numbers = w.ui.List1;
    numbers->verticalScrollBar()->setValue(numbers->verticalScrollBar()->maximum());
    shown(w);
    const int last = numbers->count() - 1;
    numbers->setCurrentRow(last);
    pylon::List1_DblClick(m);
    return last >= 0 && pylon::Form1TestAccess::ui(*m.form1).txtNumFact->text() == numbers->text(last);
}

void BM_InvoiceListLastRowPicked(benchmark::State& state) {
    Editor e(int(state.range(0)));
    for (auto _ : state) {
        pylon::Command7_Click(*e.m);
        shown(pylon::listWindow(*e.m));
        if (!pickLastRow(*e.m)) {
            state.SkipWithError("the last row's document is not the one shown");
            break;
        }
    }
}

void BM_ListsPeakMemory(benchmark::State& state) {
    for (auto _ : state) {
        QProcess scenario;
        scenario.start(QCoreApplication::applicationFilePath(),
                       {QStringLiteral("--lists-scenario"), QString::number(state.range(0))});
        if (!scenario.waitForFinished(600000) || scenario.exitCode() != 0) {
            state.SkipWithError("the memory scenario failed");
            break;
        }
        const QList<QByteArray> said = scenario.readAllStandardOutput().trimmed().split(' ');
        for (const QByteArray& pair : said) {
            const QList<QByteArray> kv = pair.split('=');
            if (kv.size() == 2) state.counters[kv[0].toStdString()] = kv[1].toDouble();
        }
    }
}

BENCHMARK(BM_InvoiceList)->Apply(pylon::bench::atBothSizes);
BENCHMARK(BM_InvoiceListLastRowPicked)->Apply(pylon::bench::atBothSizes);
BENCHMARK(BM_ClientList)->Apply(pylon::bench::atBothSizes);
BENCHMARK(BM_AttachList)->Apply(pylon::bench::atBothSizes);
BENCHMARK(BM_ListsPeakMemory)->Apply(pylon::bench::atBothSizes)->Iterations(1);

} // namespace

namespace pylon::bench {

int runListsScenario(int documents) {
    Editor e(documents);
    Session& m = *e.m;
    // What the process holds after the first round and after the last: the same, unless the lists leak.
    double afterFirst = 0;
    for (int round = 0; round < 10; ++round) {
        for (void (*open)(Session&) : {Command7_Click, Command9_Click, showAttachList}) {
            open(m);
            shown(listWindow(m));
            if (open == Command7_Click && !pickLastRow(m)) return 1;
            listWindow(m).close();
            QApplication::processEvents();
        }
        if (round == 0) afterFirst = residentMegabytes();
    }
    std::printf("peak_MB=%.1f after_first_round_MB=%.1f after_tenth_round_MB=%.1f\n", peakMegabytes(),
                afterFirst, residentMegabytes());
    return 0;
}

} // namespace pylon::bench
