#include "support.h"

#include "app/startup.h"
#include "app/wiring.h"
#include "store/database.h"
#include "store/schema.h"
#include "store/totals_cache.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <algorithm>
#include <unistd.h>

namespace pylon::bench {

void atBothSizes(benchmark::internal::Benchmark* b) {
    b->Arg(200000)->Arg(1000000)->Unit(benchmark::kMillisecond);
}

QString demoFolder(int n) {
    const QString dir = QStringLiteral(PYLON_BENCH_DATA) + QStringLiteral("/%1").arg(n);
    const QString file = dir + QStringLiteral("/VelD");
    if (!QFileInfo::exists(file)) {
        QDir().mkpath(dir);
        QProcess::execute(QStringLiteral(PYLON_DB_TOOL),
                          {QStringLiteral("demo"), file, QStringLiteral("--documents"), QString::number(n)});
    }
    return dir;
}

QString analyzedFolder(int n) {
    const QString dir = QStringLiteral(PYLON_BENCH_DATA) + QStringLiteral("/%1-analyzed").arg(n);
    const QString file = dir + QStringLiteral("/VelD");
    if (QFileInfo::exists(file)) return dir;
    QDir().mkpath(dir);
    const QString part = file + QStringLiteral(".part");
    QFile::remove(part);
    copyDatabase(demoFolder(n) + QStringLiteral("/VelD"), part);
    {
        // Opened as the program opens it first, so that its own indexes are analysed too.
        Database db;
        if (!db.open(part) || !schema::ensureAdditions(db) || !totals_cache::ensure(db) ||
            !db.exec(QStringLiteral("ANALYZE; PRAGMA wal_checkpoint(TRUNCATE)")))
            return dir;
    }
    QFile::rename(part, file);
    return dir;
}

// The kernel's count for this program only: the rusage figure would also count the memory of the
// process that started it, which the child shares until it runs its own program.
double peakMegabytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    return megabytesIn(status.readAll());
}

double megabytesIn(const QByteArray& status) {
    const qsizetype at = status.indexOf("VmHWM:");
    if (at < 0) return 0;
    const QByteArray kB = status.mid(at + 6).simplified().split(' ').value(0);
    return kB.toDouble() / 1024.0;
}

double residentMegabytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0) : 0;
}

void copyDatabase(const QString& from, const QString& to) {
    QFile::copy(from, to);
    // Written to disk before anything is measured: otherwise the copy's own writing, still under way,
    // is what the first saves wait for.
    QFile copied(to);
    if (copied.open(QIODevice::ReadWrite)) fsync(copied.handle());
}

Editor::Editor(int documents, bool scratch, bool analyzed) : m(std::make_unique<Session>()) {
    m->appPath = analyzed ? analyzedFolder(documents) : demoFolder(documents);
    if (scratch) {
        copy = std::make_unique<QTemporaryDir>(QStringLiteral(PYLON_BENCH_DATA) +
                                               QStringLiteral("/scratch-XXXXXX"));
        copyDatabase(m->appPath + QStringLiteral("/VelD"), copy->filePath(QStringLiteral("VelD")));
        m->appPath = copy->path();
    }
    form = std::make_unique<Form1>(*m);
    wireEditor(*m);
    Form1_Load(*m);
    // The reading of the whole file for damage runs once, in the background, for a second or two after
    // start (BM_DamageCheck times it); the other benchmarks measure the clicks without it.
    m->damageCheck.reset();
}

Editor::~Editor() {
    form->close();
}

void CallTimes::report(benchmark::State& state) {
    if (ms_.empty()) return;
    std::sort(ms_.begin(), ms_.end());
    const auto at = [this](double share) {
        return ms_[std::min(ms_.size() - 1, size_t(share * double(ms_.size())))];
    };
    state.counters["p50_ms"] = at(0.50);
    state.counters["p95_ms"] = at(0.95);
}

} // namespace pylon::bench
