#include "module/module1.h"

#include "lists/document_counts.h"
#include "store/schema.h"

namespace pylon {

QString Module1::databasePath() const {
    return appPath + QLatin1Char('/') + QLatin1String(schema::kFileName);
}

} // namespace pylon

namespace pylon {

void Module1::requeryAfterWrite() {
    for (auto* rs : {&rsDoc, &rsFacture, &rsDetFact})
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
    rsCliEC = RecordSet::open(db, QStringLiteral("CliEC"));
}

void Module1::endEntryAfterRedisplay() {
    if (editMode() && abandonEntry) abandonEntry();
}

} // namespace pylon
