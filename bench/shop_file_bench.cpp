// A million documents as shops bring them rather than as the demo writer makes them: a file with the four
// tables only (no index, no kept totals, the old journal mode); the program's file into which another
// program wrote every document (every kept total noted to be computed again); the same after ANALYZE. On
// each, the program as the user meets it: how soon the first invoice is shown, the longest time the window
// does not answer (the largest gap between two runs of a 10 ms timer) over the first 30 s, with the
// dashboard, the search and the lists opened meanwhile, how long the preparation takes, and the steps once
// it is done. Each file is made once under the bench data folder and copied before each run.
#include "app/startup.h"
#include "app/wiring.h"
#include "browse/document_list.h"
#include "browse/form2.h"
#include "browse/list_window.h"
#include "browse/navigation.h"
#include "browse/party_list.h"
#include "find/dashboard.h"
#include "find/search_window.h"
#include "store/database.h"
#include "support.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>
#include <map>
#include <utility>

namespace {

using Clock = std::chrono::steady_clock;
using pylon::bench::demoFolder;

double msSince(Clock::time_point t) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

enum class ShopFile { FourTables, WrittenByAnother, Analyzed };

const char* folderName(ShopFile f) {
    switch (f) {
    case ShopFile::FourTables:
        return "four-tables";
    case ShopFile::WrittenByAnother:
        return "written-by-another";
    case ShopFile::Analyzed:
        return "written-by-another-analyzed";
    }
    return "";
}

bool run(pylon::Database& db, const QString& sql) {
    return db.exec(sql);
}

// The demo's documents without anything of the program's, in the old journal mode, compacted as a file
// that never had them.
bool makeFourTables(const QString& file, int documents) {
    pylon::bench::copyDatabase(demoFolder(documents) + QStringLiteral("/VelD"), file);
    pylon::Database db;
    if (!db.open(file, pylon::Database::Mode::ReadWrite)) return false;
    QStringList drops;
    auto st = db.prepare(QStringLiteral("SELECT type, name FROM sqlite_master WHERE name LIKE 'pylon%' AND "
                                        "type IN ('trigger', 'index', 'table') ORDER BY type = 'table'"));
    while (st && st->step())
        drops << QStringLiteral("DROP %1 %2;").arg(st->value(0).toString(), st->value(1).toString());
    st.reset();
    return run(db, drops.join(QString())) && run(db, QStringLiteral("PRAGMA journal_mode=DELETE")) &&
           run(db, QStringLiteral("VACUUM"));
}

// A new file of the program's, into which another program copies the four tables in bulk, with a conflict
// clause, through the program's triggers: every document ends noted.
bool makeWrittenByAnother(const QString& file, const QString& fourTables) {
    if (QProcess::execute(QStringLiteral(PYLON_DB_TOOL), {QStringLiteral("init"), file}) != 0) return false;
    pylon::Database db;
    if (!db.open(file, pylon::Database::Mode::ReadWrite)) return false;
    return run(db, QStringLiteral("ATTACH '%1' AS shop").arg(fourTables)) &&
           run(db, QStringLiteral("BEGIN; INSERT OR ABORT INTO CliEC SELECT * FROM shop.CliEC; "
                                  "INSERT OR ABORT INTO Facture SELECT * FROM shop.Facture; "
                                  "INSERT OR ABORT INTO DetFact SELECT * FROM shop.DetFact; "
                                  "INSERT OR ABORT INTO AVOIR SELECT * FROM shop.AVOIR; COMMIT; DETACH shop; "
                                  "PRAGMA wal_checkpoint(TRUNCATE)"));
}

QString shopFolder(ShopFile f, int documents) {
    const QString dir =
        QStringLiteral(PYLON_BENCH_DATA) + QStringLiteral("/%1-%2").arg(documents).arg(folderName(f));
    const QString file = dir + QStringLiteral("/VelD");
    if (QFileInfo::exists(file)) return dir;
    QDir().mkpath(dir);
    const QString part = file + QStringLiteral(".part");
    QFile::remove(part);
    bool made = false;
    if (f == ShopFile::FourTables) {
        made = makeFourTables(part, documents);
    } else if (f == ShopFile::WrittenByAnother) {
        made =
            makeWrittenByAnother(part, shopFolder(ShopFile::FourTables, documents) + QStringLiteral("/VelD"));
    } else {
        pylon::bench::copyDatabase(
            shopFolder(ShopFile::WrittenByAnother, documents) + QStringLiteral("/VelD"), part);
        pylon::Database db;
        made = db.open(part, pylon::Database::Mode::ReadWrite) &&
               run(db, QStringLiteral("ANALYZE; PRAGMA wal_checkpoint(TRUNCATE)"));
    }
    if (made) QFile::rename(part, file);
    return dir;
}

// The longest time the event loop went without running a 10 ms timer, from the last restart.
class FreezeMeter {
  public:
    FreezeMeter() {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] { note(); });
        restart();
        timer_.start();
    }
    void restart() {
        last_ = Clock::now();
        longest_ = 0;
    }
    // Time spent in a call made from the loop counts as a freeze too.
    template <typename F> double during(F&& call) {
        note();
        const auto start = Clock::now();
        call();
        note();
        return msSince(start);
    }
    double longest() const { return longest_; }

  private:
    void note() {
        if (msSince(last_) > 40 && qEnvironmentVariableIsSet("PYLON_GAPS"))
            fprintf(stderr, "gap %.0f ms at %.1f s\n", msSince(last_), msSince(born_) / 1000);
        longest_ = std::max(longest_, msSince(last_));
        last_ = Clock::now();
    }
    QTimer timer_;
    Clock::time_point last_;
    Clock::time_point born_ = Clock::now();
    double longest_ = 0;
};

template <typename Until> bool waitFor(Until until, double ms) {
    const auto start = Clock::now();
    while (!until() && msSince(start) < ms)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    return until();
}

void shopFile(benchmark::State& state, ShopFile f) {
    const QString source = shopFolder(f, int(state.range(0))) + QStringLiteral("/VelD");
    double firstInvoice = 0, freeze = 0, prepared = 0;
    // How long each window took to open, during the preparation.
    std::map<std::string, double> opened;
    pylon::bench::CallTimes steps;
    for (auto _ : state) {
        QTemporaryDir copy(QStringLiteral(PYLON_BENCH_DATA) + QStringLiteral("/scratch-XXXXXX"));
        pylon::bench::copyDatabase(source, copy.filePath(QStringLiteral("VelD")));
        pylon::Session m;
        m.appPath = copy.path();
        pylon::Form1 form(m);
        pylon::wireEditor(m);
        form.show();
        FreezeMeter meter;
        const auto start = Clock::now();
        meter.during([&m] { pylon::Form1_Load(m); });
        const auto shown = [&m] {
            return !pylon::Form1TestAccess::ui(*m.form1).txtNumFact->text().isEmpty();
        };
        if (!waitFor(shown, 60000)) {
            state.SkipWithError("no invoice was shown");
            break;
        }
        firstInvoice = msSince(start);
        state.SetIterationTime(firstInvoice / 1000.0);
        // What a user might open first, while the file is being prepared.
        opened["dashboard_ms"] = meter.during([&m] { pylon::showDashboard(m); });
        const auto searched = [&m] { return !pylon::searchWindow(m).searching(); };
        const auto asked = Clock::now();
        meter.during([&m] { pylon::showSearchWindow(m); });
        waitFor(searched, 10000);
        meter.during([&m] {
            pylon::searchWindow(m).ui.txtClient->setText(QStringLiteral("cherk"));
            pylon::searchWindow(m).search();
        });
        waitFor(searched, 10000);
        opened["search_ms"] = msSince(asked);
        // A list asked for while the indexes are being made says so in a box, answered here.
        QTimer answerer;
        QObject::connect(&answerer, &QTimer::timeout, [] {
            if (QWidget* box = QApplication::activeModalWidget()) box->close();
        });
        answerer.start(50);
        using Command = void (*)(pylon::Session&);
        // On a large file the rows are read on a thread: the list is closed once they show, so that
        // their arrival is measured too.
        const auto filled = [&m] { return !pylon::listWindow(m).pendingRead; };
        for (auto [open, name] : {std::pair<Command, const char*>{pylon::Command7_Click, "invoices_ms"},
                                  std::pair<Command, const char*>{pylon::Command9_Click, "clients_ms"}}) {
            const auto asked = Clock::now();
            meter.during([&m, open] {
                open(m);
                QApplication::processEvents();
            });
            waitFor(filled, 10000);
            opened[name] = msSince(asked);
            meter.during([&m] { pylon::listWindow(m).close(); });
            if (qEnvironmentVariableIsSet("PYLON_GAPS")) fprintf(stderr, "closed\n");
        }
        // The first 30 s, and whatever the end of the preparation brings (the figures of the windows
        // left open are read again).
        waitFor([] { return false; }, 30000 - msSince(start));
        if (!waitFor([&m] { return !m.preparation; }, 600000)) {
            state.SkipWithError("the preparation did not end");
            break;
        }
        prepared = msSince(start) / 1000.0;
        waitFor([] { return false; }, 2000);
        freeze = meter.longest();
        m.rsDoc->MoveFirst();
        for (int i = 0; i < 100; ++i)
            steps.time([&m] { pylon::Command3_Click(m); });
        for (int i = 0; i < 100; ++i)
            steps.time([&m] { pylon::Command2_Click(m); });
        form.close();
    }
    state.counters["first_invoice_ms"] = firstInvoice;
    state.counters["longest_freeze_ms"] = freeze;
    state.counters["prepared_s"] = prepared;
    for (const auto& [name, ms] : opened)
        state.counters[name] = ms;
    steps.report(state);
}

void BM_ShopFourTables(benchmark::State& state) {
    shopFile(state, ShopFile::FourTables);
}
void BM_ShopWrittenByAnother(benchmark::State& state) {
    shopFile(state, ShopFile::WrittenByAnother);
}
void BM_ShopWrittenByAnotherAnalyzed(benchmark::State& state) {
    shopFile(state, ShopFile::Analyzed);
}

void atAMillionOnce(benchmark::internal::Benchmark* b) {
    b->Arg(1000000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);
}

BENCHMARK(BM_ShopFourTables)->Apply(atAMillionOnce);
BENCHMARK(BM_ShopWrittenByAnother)->Apply(atAMillionOnce);
BENCHMARK(BM_ShopWrittenByAnotherAnalyzed)->Apply(atAMillionOnce);

} // namespace
