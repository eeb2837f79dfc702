#include "support/documents.h"

#include "support/temp_db.h"

#include <QProcess>

namespace pylon::test {

namespace {

QString quoted(QString text) {
    return QLatin1Char('\'') + text.replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
}

QString linesSql(const char* table, qlonglong number, const std::vector<QStringList>& lines) {
    if (lines.empty()) return {};
    QStringList rows;
    for (const QStringList& cells : lines) {
        QStringList values{QString::number(number)};
        for (const QString& c : cells)
            values << quoted(c);
        rows << QLatin1Char('(') + values.join(QLatin1Char(',')) + QLatin1Char(')');
    }
    return QStringLiteral("INSERT INTO %1 VALUES %2;").arg(QLatin1String(table), rows.join(QLatin1Char(',')));
}

} // namespace

bool plant(const TempDb& file, const PlantedDocument& d) {
    const bool supplier = d.kind == u"BC";
    return file.exec(
        QStringLiteral(
            "BEGIN;"
            "INSERT INTO CliEC SELECT %1, 0, %2 WHERE NOT EXISTS (SELECT 1 FROM CliEC WHERE NumCli = %1);"
            "INSERT INTO Facture VALUES (%3, %4, %1, %5, %6, %7, %8, %9);")
            .arg(d.client)
            .arg(supplier ? 1 : 0)
            .arg(d.number)
            .arg(quoted(d.date), quoted(d.name), quoted(d.address), quoted(d.kind))
            .arg(d.creditLines.empty() ? 0 : 1)
            .arg(d.cancelled ? 1 : 0) +
        linesSql("DetFact", d.number, d.lines) + linesSql("AVOIR", d.number, d.creditLines) +
        QStringLiteral("COMMIT;"));
}

std::vector<QStringList> manyLines(int n) {
    std::vector<QStringList> lines;
    for (int i = 1; i <= n; ++i)
        lines.push_back({QStringLiteral("R%1").arg(i), QStringLiteral("2"),
                         QStringLiteral("Article %1").arg(i), QStringLiteral("12,50"),
                         QStringLiteral("25,00")});
    return lines;
}

QStringList pdfPages(const QString& pdf, bool layout) {
    QProcess p;
    QStringList args;
    args << (layout ? QStringLiteral("-layout") : QStringLiteral("-raw"));
    p.start(QStringLiteral("pdftotext"), args << pdf << QStringLiteral("-"));
    if (!p.waitForFinished(60000)) return {QStringLiteral("pdftotext did not finish")};
    QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty()) pages.removeLast();
    return pages;
}

} // namespace pylon::test
