#include "store/module1.h"

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

void Module1::endEntryAfterRedisplay() {
    if (editMode() && abandonEntry) abandonEntry();
}

} // namespace pylon
