#include "editing/line_rewrite.h"

#include "store/database.h"

namespace pylon {

namespace {

bool fail(Database& db, QString* error) {
    if (error) *error = db.failureText();
    return false;
}

} // namespace

bool rewriteLines(Database& db, const QString& table, qint64 number, const std::vector<LineCells>& lines,
                  QString* error) {
    // The table name goes into the statements' text, so only the two line tables are accepted.
    if (table.compare(u"DetFact", Qt::CaseInsensitive) != 0 &&
        table.compare(u"AVOIR", Qt::CaseInsensitive) != 0) {
        if (error) *error = QStringLiteral("table de lignes inconnue : %1").arg(table);
        return false;
    }
    Transaction t(db);
    if (!t.active()) return fail(db, error);
    // Lines are never written for a document that is no longer there (deleted meanwhile by another copy of
    // the program): they would outlive it and join a later document given the same number.
    const QVariant present =
        db.scalar(QStringLiteral("SELECT count(*) FROM Facture WHERE NumFact = ?"), {number});
    if (!present.isValid()) return fail(db, error);
    if (present.toInt() == 0) {
        if (error)
            *error =
                QStringLiteral("le document N° %1 n'est plus dans la base de données (une autre copie du "
                               "programme l'a peut-être supprimé).")
                    .arg(number);
        return false;
    }
    // One statement through the NumFact index: the line tables hold a row for every line of every document.
    if (!db.exec(QStringLiteral("DELETE FROM \"%1\" WHERE NumFact = ?").arg(table), {number}))
        return fail(db, error);
    auto insert = db.prepare(
        QStringLiteral("INSERT INTO \"%1\"(NumFact, NB, Qt, Design, PU, Mnt) VALUES(?, ?, ?, ?, ?, ?)")
            .arg(table));
    if (!insert) return fail(db, error);
    for (const LineCells& line : lines) {
        insert->reset();
        if (!insert->bind(0, number)) return fail(db, error);
        for (int c = 0; c < 5; ++c) {
            // Never NULL: an empty cell is stored as an empty text, as it stands in the column.
            const QString cell = c < line.size() ? line[c] : QString();
            if (!insert->bind(c + 1, cell.isNull() ? QStringLiteral("") : cell)) return fail(db, error);
        }
        insert->step();
        if (!insert->ok()) return fail(db, error);
    }
    // A failed commit is rolled back by the database itself.
    if (!t.commit()) return fail(db, error);
    return true;
}

} // namespace pylon
