// Typing a document's lines through the line pointer, key by key, with and without the keeping of the entry
// under way: its state is taken and handed to its own thread after every key (the program does it once a
// second), and, in the third case, while another program holds the file for writing, so that the keeper's
// writes wait. The keys must cost the same in all three.
#include "editing/edit_mode.h"
#include "editing/new_document.h"
#include "module/entry_keeping.h"
#include "store/database.h"
#include "support.h"

#include <QApplication>
#include <QKeyEvent>
#include <benchmark/benchmark.h>

namespace {

enum Keeping { kNone, kAfterEveryKey, kAfterEveryKeyFileHeld };

void press(QWidget* w, int key, const QString& text = {}) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &up);
}

void BM_TypeLines(benchmark::State& state) {
    pylon::bench::Editor e(200000, true);
    Ui::Form1& ui = pylon::Form1TestAccess::ui(*e.form);
    const auto keeping = Keeping(state.range(0));
    if (keeping == kNone) e.m->entryKeeper.reset();
    pylon::Database other;
    if (keeping == kAfterEveryKeyFileHeld) {
        other.open(e.m->databasePath());
        other.exec(QStringLiteral("BEGIN IMMEDIATE"));
    }
    const QStringList cells = {QStringLiteral("R12"),
                               QStringLiteral("2"),
                               QStringLiteral("Article de mesure numéro 12"),
                               QStringLiteral("12,50"),
                               {}};
    pylon::bench::CallTimes keys;
    pylon::Command5_Click(*e.m);
    int lines = 0;
    for (auto _ : state) {
        if (lines == 31) {
            state.PauseTiming();
            pylon::Command10_Click(*e.m);
            pylon::Command5_Click(*e.m);
            lines = 0;
            state.ResumeTiming();
        }
        for (const QString& cell : cells) {
            for (const QChar c : cell + QLatin1Char('\r'))
                keys.time([&] {
                    if (c == QLatin1Char('\r'))
                        press(ui.txtPointeur, Qt::Key_Return, QStringLiteral("\r"));
                    else
                        press(ui.txtPointeur, 0, QString(c));
                    if (keeping != kNone) pylon::keepEntryUnderWay(*e.m);
                });
        }
        ++lines;
    }
    keys.report(state);
    if (keeping == kAfterEveryKeyFileHeld) other.exec(QStringLiteral("ROLLBACK"));
}

BENCHMARK(BM_TypeLines)
    ->Arg(kNone)
    ->Arg(kAfterEveryKey)
    ->Arg(kAfterEveryKeyFileHeld)
    ->Unit(benchmark::kMicrosecond);

} // namespace
