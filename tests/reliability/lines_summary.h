#pragma once
// The lines of a document as "count:hash", FNV-1a over the cells as stored, in their order. The crash
// worker writes it into its journal and the crash test computes it from the file: one definition, so the
// two can never hash differently.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

inline QString linesSummary(const std::vector<QStringList>& lines) {
    quint64 h = 0xcbf29ce484222325ULL;
    auto feed = [&h](const QByteArray& bytes) {
        for (const char c : bytes)
            h = (h ^ quint64(quint8(c))) * 0x100000001b3ULL;
    };
    for (const QStringList& line : lines) {
        for (const QString& cell : line) {
            feed(cell.toUtf8());
            feed(QByteArrayLiteral("\x1f"));
        }
        feed(QByteArrayLiteral("\x1e"));
    }
    return QStringLiteral("%1:%2").arg(lines.size()).arg(h, 16, 16, QLatin1Char('0'));
}
