#include "module/month_end_store.h"

#include "store/database.h"
#include "store/db_errors.h"

#include <functional>
#include <utility>

namespace pylon::month_end {

namespace {

const char* const kLineFields[] = {"NB", "Qt", "Design", "PU", "Mnt"};

// Why the last write failed, in words the user can pass on: when the file itself is at fault, what
// happened to it and what to do, whatever step was being written.
QString reasonOf(Database& db, const QString& what) {
    if (db_errors::faultOf(db.lastErrorCode()) != db_errors::Fault::None) return db.failureText();
    const QString engine = db.lastError();
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
WriteResult stepFailed(Database& db, const QString& what) {
    return WriteResult::failed(reasonOf(db, what));
}

FoundRow headerOf(Database& db, int number) {
    return lookUpIn(db, QStringLiteral("Facture"), QStringLiteral("NumFact=%1").arg(number));
}

// One transaction on an open file; nothing is tried on a closed one.
WriteResult inOneTransaction(Database& db, const std::function<WriteResult()>& writes) {
    if (!db.isOpen()) return WriteResult::failed(QStringLiteral("la base de données n'est pas ouverte"));
    return runWrite(db, writes);
}

} // namespace

Lookup findDocument(Database& db, int number) {
    return headerOf(db, number).found;
}

WriteResult writeInvoice(Database& db, const NewInvoice& doc, const std::vector<Line>& lines) {
    return inOneTransaction(db, [&] {
        // Asked again now that no other program can write: another copy of the program may have saved
        // the same number since it was first looked up.
        const FoundRow header = headerOf(db, doc.number);
        if (header.found == Lookup::Failed)
            return stepFailed(db, QStringLiteral("le numéro %1 ne peut pas être vérifié").arg(doc.number));
        if (header.found == Lookup::Found)
            return WriteResult::refused(QStringLiteral("le numéro %1 est déjà pris").arg(doc.number));
        const FoundRow party =
            lookUpIn(db, QStringLiteral("CliEC"), QStringLiteral("NumCli=%1").arg(doc.client));
        if (party.found == Lookup::Failed)
            return stepFailed(db, QStringLiteral("le client ne peut pas être recherché"));
        if (party.found == Lookup::Absent && !write(*party.rs, {{QStringLiteral("NumCli"), doc.client},
                                                                {QStringLiteral("ClientC"), doc.onAccount}}))
            return stepFailed(db, QStringLiteral("le client ne peut pas être ajouté"));
        if (!write(*header.rs, {{QStringLiteral("NumFact"), doc.number},
                                {QStringLiteral("DateFact"), doc.date},
                                {QStringLiteral("NumCli"), doc.client},
                                {QStringLiteral("NomCli"), doc.name},
                                {QStringLiteral("AdrCli"), doc.address},
                                {QStringLiteral("TypeFact"), QStringLiteral("Facture M")}}))
            return stepFailed(db, QStringLiteral("l'en-tête de la facture ne peut pas être ajouté"));
        // A document without lines would vanish from the views, which join the lines: it gets one line
        // holding only its number.
        const auto detail = RecordSet::open(db, QStringLiteral("DetFact"));
        const bool ok = detail && (lines.empty() ? write(*detail, {{QStringLiteral("NumFact"), doc.number}})
                                                 : addLines(*detail, doc.number, lines));
        if (!ok) return stepFailed(db, QStringLiteral("une ligne de la facture ne peut pas être ajoutée"));
        return WriteResult::done();
    });
}

WriteResult attachCreditNote(Database& db, int number, const std::vector<Line>& lines) {
    return inOneTransaction(db, [&] {
        const FoundRow header = headerOf(db, number);
        if (header.found == Lookup::Failed)
            return stepFailed(db, QStringLiteral("le document ne peut pas être lu"));
        if (header.found == Lookup::Absent)
            return WriteResult::refused(QStringLiteral("le document n'existe plus"));
        if (!write(*header.rs, {{QStringLiteral("Avoir"), true}}, true))
            return stepFailed(db, QStringLiteral("le document ne peut pas être marqué"));
        const auto credit = RecordSet::open(db, QStringLiteral("AVOIR"));
        if (!credit || !addLines(*credit, number, lines))
            return stepFailed(db, QStringLiteral("une ligne de l'avoir ne peut pas être ajoutée"));
        return WriteResult::done();
    });
}

} // namespace pylon::month_end
