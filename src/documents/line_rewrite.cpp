#include "documents/line_rewrite.h"

#include "store/database.h"

namespace pylon {

namespace {

WriteResult replaceLines(Database& db, const QString& table, qint64 number,
                         const std::vector<LineCells>& lines) {
    // Lines are never written for a document that is no longer there (deleted meanwhile by another copy of
    // the program): they would outlive it and join a later document given the same number.
    const QVariant present =
        db.scalar(QStringLiteral("SELECT count(*) FROM Facture WHERE NumFact = ?"), {number});
    if (!present.isValid()) return WriteResult::failed();
    if (present.toInt() == 0)
        return WriteResult::refused(
            QStringLiteral("le document N° %1 n'est plus dans la base de données (une autre copie du "
                           "programme l'a peut-être supprimé).")
                .arg(number));
    // One statement through the NumFact index: the line tables hold a row for every line of every document.
    if (!db.exec(QStringLiteral("DELETE FROM \"%1\" WHERE NumFact = ?").arg(table), {number}))
        return WriteResult::failed();
    auto insert = db.prepare(
        QStringLiteral("INSERT INTO \"%1\"(NumFact, NB, Qt, Design, PU, Mnt) VALUES(?, ?, ?, ?, ?, ?)")
            .arg(table));
    if (!insert) return WriteResult::failed();
    for (const LineCells& line : lines) {
        insert->reset();
        if (!insert->bind(0, number)) return WriteResult::failed();
        for (int c = 0; c < 5; ++c) {
            // Never NULL: an empty cell is stored as an empty text, as it stands in the column.
            const QString cell = c < line.size() ? line[c] : QString();
            if (!insert->bind(c + 1, cell.isNull() ? QStringLiteral("") : cell)) return WriteResult::failed();
        }
        insert->step();
        if (!insert->ok()) return WriteResult::failed();
    }
    return WriteResult::done();
}

} // namespace

WriteResult rewriteLines(Database& db, const QString& table, qint64 number,
                         const std::vector<LineCells>& lines) {
    // The table name goes into the statements' text, so only the two line tables are accepted.
    if (table.compare(u"DetFact", Qt::CaseInsensitive) != 0 &&
        table.compare(u"AVOIR", Qt::CaseInsensitive) != 0)
        return WriteResult::refused(QStringLiteral("table de lignes inconnue : %1").arg(table));
    return runWrite(db, [&] { return replaceLines(db, table, number, lines); });
}

} // namespace pylon
