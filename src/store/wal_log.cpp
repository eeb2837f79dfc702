#include "store/wal_log.h"

#include <QByteArray>
#include <QFile>
#include <QtEndian>
#include <map>

namespace pylon::wal_log {

namespace {

// The log's layout, as SQLite writes it: a 32-byte header, then frames of a 24-byte header and one page.
constexpr qint64 kHeaderSize = 32;
constexpr qint64 kFrameHeaderSize = 24;
constexpr quint32 kMagic = 0x377f0682; // the low bit tells the byte order of the checksums
constexpr quint32 kVersion = 3007000;

quint32 word(const char* p) {
    return qFromBigEndian<quint32>(p);
}

// SQLite's running checksum: pairs of 32-bit words, read in the order the log's magic number gives.
struct Checksum {
    bool bigEndian = true;
    quint32 s0 = 0, s1 = 0;
    void add(const char* p, qint64 n) {
        for (qint64 i = 0; i + 8 <= n; i += 8) {
            const quint32 a = bigEndian ? qFromBigEndian<quint32>(p + i) : qFromLittleEndian<quint32>(p + i);
            const quint32 b =
                bigEndian ? qFromBigEndian<quint32>(p + i + 4) : qFromLittleEndian<quint32>(p + i + 4);
            s0 += a + s1;
            s1 += b + s0;
        }
    }
    bool matches(const char* p) const { return word(p) == s0 && word(p + 4) == s1; }
};

} // namespace

bool holdsUnappliedCommits(const QString& path) {
    QFile log(path + QStringLiteral("-wal"));
    if (!log.exists()) return false;
    if (!log.open(QIODevice::ReadOnly)) return true;
    const QByteArray header = log.read(kHeaderSize);
    if (header.size() < kHeaderSize) return false;
    const char* h = header.constData();
    // A header SQLite would not accept means a log it ignores: nothing in it counts.
    Checksum sum;
    sum.bigEndian = (word(h) & 1) != 0;
    sum.add(h, 24);
    const qint64 pageSize = word(h + 8);
    if ((word(h) & ~1u) != kMagic || word(h + 4) != kVersion || pageSize < 512 || pageSize > 65536 ||
        (pageSize & (pageSize - 1)) != 0 || !sum.matches(h + 24))
        return false;

    // Where the last committed version of each page lies in the log. Frames count only up to the first
    // one that does not belong (an older log's salt, a torn write): SQLite stops there too.
    std::map<quint32, qint64> committed, sinceCommit;
    for (qint64 at = kHeaderSize;; at += kFrameHeaderSize + pageSize) {
        const QByteArray frame = log.read(kFrameHeaderSize + pageSize);
        if (frame.size() < kFrameHeaderSize + pageSize) break;
        const char* f = frame.constData();
        const quint32 page = word(f);
        if (page == 0 || word(f + 8) != word(h + 16) || word(f + 12) != word(h + 20)) break;
        sum.add(f, 8);
        sum.add(f + kFrameHeaderSize, pageSize);
        if (!sum.matches(f + 16)) break;
        sinceCommit[page] = at + kFrameHeaderSize;
        if (word(f + 4) != 0) {
            for (const auto& [p, offset] : sinceCommit)
                committed[p] = offset;
            sinceCommit.clear();
        }
    }
    if (committed.empty()) return false;

    // Copied into the file already (the program stopped after SQLite had copied the log, before it could
    // empty it): the file as it stands is up to date.
    QFile db(path);
    if (!db.open(QIODevice::ReadOnly)) return true;
    for (const auto& [page, offset] : committed) {
        if (!log.seek(offset) || !db.seek(qint64(page - 1) * pageSize)) return true;
        if (log.read(pageSize) != db.read(pageSize)) return true;
    }
    return false;
}

} // namespace pylon::wal_log
