#include "documents/month_lines.h"

#include "store/database.h"

namespace pylon::month_end {

std::optional<std::vector<Line>> gatherLines(Database& db, int client, int year, int month) {
    // Read in one pass: a record set would ask the file for each row in turn, a search among all of the
    // client's documents every time.
    auto rows = db.prepare(QStringLiteral(
        "SELECT DetFact.NB, DetFact.Qt, DetFact.Design, DetFact.PU, DetFact.Mnt FROM Facture INNER JOIN "
        "DetFact ON Facture.NumFact = DetFact.NumFact WHERE (Facture.TypeFact = 'Facture' Or "
        "Facture.TypeFact "
        "= 'BL') AND Facture.NumCli = ? AND Month(Facture.DateFact) = ? AND "
        "substr(pylon_date(Facture.DateFact), 1, 4) = ? ORDER BY Facture.rowid, DetFact.rowid"));
    // The year as the stored date writes it, four digits: the same month of other years is not this one.
    const QString stored = QStringLiteral("%1").arg(year, 4, 10, QLatin1Char('0'));
    if (!rows || !rows->bindAll({client, month, stored})) return std::nullopt;
    std::vector<Line> lines;
    while (rows->step()) {
        Line line;
        for (size_t i = 0; i < line.size(); ++i)
            line[i] = rows->value(int(i));
        lines.push_back(std::move(line));
    }
    if (!rows->ok()) return std::nullopt;
    return lines;
}

} // namespace pylon::month_end
