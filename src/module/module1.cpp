#include "module/module1.h"

#include "documents/document_counts.h"
#include "store/schema.h"

namespace pylon {

QString Module1::databasePath() const {
    return appPath + QLatin1Char('/') + QLatin1String(schema::kFileName);
}

} // namespace pylon

namespace pylon {

void Module1::requeryAfterWrite() {
    for (auto* rs : {&rsDoc, &rsFacture, &rsDetFact, &rsClients, &rsFournisseurs, &rsNumeros})
        if (*rs) (*rs)->Requery();
}

bool Module1::indexesBeingMade() {
    return preparation && preparation->running() && !schema::missingAdditions(db).isEmpty();
}

bool Module1::readsBehind() {
    return documentRowsAtMost(db) > readBehindFrom;
}

void Module1::openSharedRecordSets() {
    rsFacture = RecordSet::open(db, QStringLiteral("Facture"));
    rsDetFact = RecordSet::open(db, QStringLiteral("DetFact"));
    rsClients = RecordSet::open(
        db,
        QStringLiteral("Select Distinct Facture.NumCli,Facture.NomCli,Facture.AdrCli From CliEC INNER JOIN "
                       "Facture on CliEC.NumCli = Facture.NumCli where CliEC.Frs = false"));
    rsFournisseurs = RecordSet::open(
        db,
        QStringLiteral("Select Distinct Facture.NumCli,Facture.NomCli,Facture.AdrCli From CliEC INNER JOIN "
                       "Facture on CliEC.NumCli = Facture.NumCli where CliEC.Frs = True"));
    rsNumeros = RecordSet::open(
        db, QStringLiteral("Select Distinct NumFact,DateFact,NumCli,TypeFact,Avoir From Facture"));
    rsCliEC = RecordSet::open(db, QStringLiteral("CliEC"));
    rsAvoir = RecordSet::open(db, QStringLiteral("AVOIR"));
}

void Module1::endEntryAfterRedisplay() {
    if (editMode() && abandonEntry) abandonEntry();
}

} // namespace pylon
