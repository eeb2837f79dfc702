#include "store/write.h"

#include "store/database.h"
#include "store/recordset.h"

namespace pylon {

namespace {

WriteResult attempt(Database& db, const std::function<WriteResult()>& writes) {
    // The transaction ends here, before the caller shows any message, so that other programs are kept
    // out of the file only while it is written.
    Transaction t(db);
    if (!t.active()) return WriteResult::failed();
    WriteResult result = writes();
    if (result.kind != WriteResult::Done) return result;
    // A failed commit is rolled back by the database itself.
    return t.commit() ? result : WriteResult::failed();
}

} // namespace

WriteResult runWrite(Database& db, const std::function<WriteResult()>& writes,
                     std::initializer_list<RecordSet*> touched) {
    // Whatever the file reports from here on is this write's doing.
    db.setError(QString());
    WriteResult result = attempt(db, writes);
    if (result.kind == WriteResult::Done) return result;
    if (result.kind == WriteResult::Failed && result.message.isEmpty()) result.message = db.failureText();
    for (RecordSet* rs : touched)
        if (rs) rs->Requery();
    return result;
}

} // namespace pylon
