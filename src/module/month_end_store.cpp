#include "module/month_end_store.h"

#include "module/module1.h"
#include "store/database.h"
#include "store/db_errors.h"

#include <functional>

#include <utility>

namespace pylon::month_end {

namespace {

const char* const kLineFields[] = {"NB", "Qt", "Design", "PU", "Mnt"};

// Why the last write failed, in words the user can pass on: when the file itself is at fault, what
// happened to it and what to do, whatever step was being written.
QString reasonOf(Module1& m, const QString& what) {
    if (db_errors::faultOf(m.db.lastErrorCode()) != db_errors::Fault::None) return m.db.failureText();
    const QString engine = m.db.lastError();
    return engine.isEmpty() ? what : what + QStringLiteral(" (") + engine + QLatin1Char(')');
}

using Fields = std::vector<std::pair<QString, QVariant>>;

// Adds (or, with edit, changes the current row of) one row through the record set; false when the file
// refuses it or a value does not fit its field.
bool write(RecordSet& rs, const Fields& fields, bool edit = false) {
    if (!(edit ? rs.Edit() : rs.AddNew())) return false;
    for (const auto& [name, value] : fields)
        if (!rs.SetField(name, value)) return false;
    return rs.Update();
}

// A month can gather thousands of lines: the fields are found by name once, then set by position.
bool addLines(RecordSet& rs, int number, const std::vector<Line>& lines) {
    const char* const names[] = {"NumFact",      kLineFields[0], kLineFields[1],
                                 kLineFields[2], kLineFields[3], kLineFields[4]};
    std::array<int, 6> at{};
    for (size_t f = 0; f < at.size(); ++f) {
        at[f] = -1;
        for (int i = 0; i < rs.FieldCount() && at[f] < 0; ++i)
            if (rs.FieldName(i).compare(QLatin1String(names[f]), Qt::CaseInsensitive) == 0) at[f] = i;
        if (at[f] < 0) return false;
    }
    for (const Line& line : lines) {
        if (!rs.AddNew() || !rs.SetField(at[0], number)) return false;
        for (size_t i = 0; i < line.size(); ++i)
            if (!rs.SetField(at[i + 1], line[i])) return false;
        if (!rs.Update()) return false;
    }
    return true;
}

// A step the file refused, said in words the user can pass on.
WriteResult stepFailed(Module1& m, const QString& what) {
    return WriteResult::failed(reasonOf(m, what));
}

WriteResult inOneTransaction(Module1& m, const std::function<WriteResult()>& writes) {
    return runWrite(m.db, writes, {m.rsFacture.get(), m.rsDetFact.get(), m.rsCliEC.get(), m.rsAvoir.get()});
}

} // namespace

std::optional<std::vector<Line>> gatherLines(Module1& m, int client, int month) {
    const QString from = QStringLiteral(
        " FROM Facture INNER JOIN DetFact ON Facture.NumFact = DetFact.NumFact WHERE (Facture.TypeFact = "
        "'Facture' Or Facture.TypeFact = 'BL') AND Facture.NumCli = %1 AND Month(Facture.DateFact) = %2");
    // Both numbers are whole numbers checked by the caller: they go into the text as plain digits.
    m.rsMonthLines =
        RecordSet::open(m.db, QStringLiteral("SELECT Facture.*, DetFact.*") + from.arg(client).arg(month));
    if (!m.rsMonthLines) return std::nullopt;
    // The record set would ask the file for each row in turn, a search among all of the client's documents
    // every time; the same rows are read here in one pass, documents and lines in the order of the file.
    auto rows = m.db.prepare(QStringLiteral("SELECT DetFact.NB, DetFact.Qt, DetFact.Design, DetFact.PU, "
                                            "DetFact.Mnt") +
                             from.arg(QStringLiteral("?"), QStringLiteral("?")) +
                             QStringLiteral(" ORDER BY Facture.rowid, DetFact.rowid"));
    if (!rows || !rows->bindAll({client, month})) return std::nullopt;
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

Lookup findDocument(Module1& m, int number) {
    return m.rsFacture ? lookUp(*m.rsFacture, QStringLiteral("NumFact=%1").arg(number)) : Lookup::Failed;
}

WriteResult writeInvoice(Module1& m, const NewInvoice& doc, const std::vector<Line>& lines) {
    if (!m.rsCliEC || !m.rsFacture || !m.rsDetFact)
        return WriteResult::failed(QStringLiteral("la base de données n'est pas ouverte"));
    return inOneTransaction(m, [&] {
        // Asked again now that no other program can write: another copy of the program may have saved
        // the same number since it was first looked up.
        const Lookup taken = findDocument(m, doc.number);
        if (taken == Lookup::Failed)
            return stepFailed(m, QStringLiteral("le numéro %1 ne peut pas être vérifié").arg(doc.number));
        if (taken == Lookup::Found)
            return WriteResult::refused(QStringLiteral("le numéro %1 est déjà pris").arg(doc.number));
        RecordSet& parties = *m.rsCliEC;
        if (!parties.FindFirst(QStringLiteral("NumCli=%1").arg(doc.client)))
            return stepFailed(m, QStringLiteral("le client ne peut pas être recherché"));
        if (parties.NoMatch() && !write(parties, {{QStringLiteral("NumCli"), doc.client},
                                                  {QStringLiteral("ClientC"), doc.onAccount}}))
            return stepFailed(m, QStringLiteral("le client ne peut pas être ajouté"));
        if (!write(*m.rsFacture, {{QStringLiteral("NumFact"), doc.number},
                                  {QStringLiteral("DateFact"), doc.date},
                                  {QStringLiteral("NumCli"), doc.client},
                                  {QStringLiteral("NomCli"), doc.name},
                                  {QStringLiteral("AdrCli"), doc.address},
                                  {QStringLiteral("TypeFact"), QStringLiteral("Facture M")}}))
            return stepFailed(m, QStringLiteral("l'en-tête de la facture ne peut pas être ajouté"));
        // A document without lines would vanish from the views, which join the lines: it gets one line
        // holding only its number.
        const bool ok = lines.empty() ? write(*m.rsDetFact, {{QStringLiteral("NumFact"), doc.number}})
                                      : addLines(*m.rsDetFact, doc.number, lines);
        if (!ok) return stepFailed(m, QStringLiteral("une ligne de la facture ne peut pas être ajoutée"));
        return WriteResult::done();
    });
}

WriteResult attachCreditNote(Module1& m, int number, const std::vector<Line>& lines) {
    if (!m.rsFacture || !m.rsAvoir)
        return WriteResult::failed(QStringLiteral("la base de données n'est pas ouverte"));
    return inOneTransaction(m, [&] {
        const Lookup header = findDocument(m, number);
        if (header == Lookup::Failed) return stepFailed(m, QStringLiteral("le document ne peut pas être lu"));
        if (header == Lookup::Absent)
            return WriteResult::refused(QStringLiteral("le document n'existe plus"));
        if (!write(*m.rsFacture, {{QStringLiteral("Avoir"), true}}, true))
            return stepFailed(m, QStringLiteral("le document ne peut pas être marqué"));
        if (!addLines(*m.rsAvoir, number, lines))
            return stepFailed(m, QStringLiteral("une ligne de l'avoir ne peut pas être ajoutée"));
        return WriteResult::done();
    });
}

} // namespace pylon::month_end
