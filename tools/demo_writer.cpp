#include "demo_writer.h"

#include "store/database.h"

namespace pylon::demo {

QString quantityText(qint64 hundredths) {
    QString text = QString::number(hundredths / 100);
    const qint64 fraction = hundredths % 100;
    if (fraction == 0) return text;
    if (fraction % 10 == 0) return text + QLatin1Char(',') + QString::number(fraction / 10);
    return text + QLatin1Char(',') + QStringLiteral("%1").arg(fraction, 2, 10, QLatin1Char('0'));
}

QString amountText(qint64 cents) {
    return QString::number(cents / 100) + QLatin1Char(',') +
           QStringLiteral("%1").arg(cents % 100, 2, 10, QLatin1Char('0'));
}

DemoWriter::DemoWriter(Database& db)
    : document_(db.prepare(QStringLiteral("INSERT INTO Facture(NumFact, DateFact, NumCli, NomCli, AdrCli, "
                                          "TypeFact, Avoir, \"Annulée\") VALUES(?, ?, ?, ?, ?, ?, ?, ?)"))),
      line_(db.prepare(
          QStringLiteral("INSERT INTO DetFact(NumFact, NB, Qt, Design, PU, Mnt) VALUES(?, ?, ?, ?, ?, ?)"))),
      creditLine_(db.prepare(
          QStringLiteral("INSERT INTO AVOIR(NumFact, NB, Qt, Design, PU, Mnt) VALUES(?, ?, ?, ?, ?, ?)"))),
      party_(db.prepare(QStringLiteral("INSERT INTO CliEC(NumCli, ClientC, Frs) VALUES(?, ?, ?)"))) {}

DemoWriter::~DemoWriter() = default;

bool DemoWriter::ready() const {
    return document_ && line_ && creditLine_ && party_;
}

bool DemoWriter::write(const Document& doc) {
    Statement& s = *document_;
    s.reset();
    const bool ok = s.bind(0, doc.number) && s.bind(1, doc.date.toString(Qt::ISODate)) &&
                    s.bind(2, doc.party) && s.bind(3, doc.name) && s.bind(4, doc.address) &&
                    s.bind(5, doc.kind) && s.bind(6, doc.creditLines.empty() ? 0 : 1) &&
                    s.bind(7, doc.cancelled ? 1 : 0);
    if (!ok) return false;
    s.step();
    return s.ok() && writeLines(*line_, doc.number, doc.lines) &&
           writeLines(*creditLine_, doc.number, doc.creditLines);
}

bool DemoWriter::writeLines(Statement& s, qint64 number, const std::vector<Line>& lines) {
    for (const Line& l : lines) {
        s.reset();
        const bool ok = s.bind(0, number) && s.bind(1, l.nb) && s.bind(2, quantityText(l.quantity)) &&
                        s.bind(3, l.designation) && s.bind(4, amountText(l.priceCents)) &&
                        s.bind(5, amountText(l.amountCents()));
        if (!ok) return false;
        s.step();
        if (!s.ok()) return false;
    }
    if (&s == line_.get()) lines_ += qint64(lines.size());
    return true;
}

bool DemoWriter::writeParty(qint64 number, bool onAccount, bool supplier) {
    Statement& s = *party_;
    s.reset();
    if (!(s.bind(0, number) && s.bind(1, onAccount ? 1 : 0) && s.bind(2, supplier ? 1 : 0))) return false;
    s.step();
    return s.ok();
}

} // namespace pylon::demo
