#pragma once
// Every change to the file goes through runWrite: one transaction, begun with no earlier failure left
// in the connection, and on any outcome but Done rolled back with the record sets it went through read
// again from the file. Callers then only decide what to tell the user.
#include <QString>
#include <functional>
#include <initializer_list>

namespace pylon {

class Database;
class RecordSet;

struct WriteResult {
    // Done: everything landed. Refused: a rule of the program stopped the write (a number taken, a
    // document gone) and `message` says so to the user. Failed: the file refused a step and `message` is
    // what happened to it and what to do (db_errors.h), or what the writes themselves reported.
    enum Kind { Done, Refused, Failed };
    Kind kind = Done;
    QString message;

    static WriteResult done() { return {Done, {}}; }
    static WriteResult refused(const QString& message) { return {Refused, message}; }
    // Without a message, runWrite fills in the file's own account of the failure.
    static WriteResult failed(const QString& message = {}) { return {Failed, message}; }
    // For writes made of steps that each report success: Done when all went through, Failed otherwise.
    static WriteResult doneIf(bool ok) { return ok ? done() : failed(); }
    bool isDone() const { return kind == Done; }
};

// Runs `writes` as one transaction on `db` and commits when they report Done. A Failed result without
// a message gets db.failureText(), which stays empty when the connection reported nothing. After
// anything but Done, the record sets in `touched` (null ones are skipped) are read again from the file:
// the rollback may have taken away the row they stand on, or left them holding a half-made one.
WriteResult runWrite(Database& db, const std::function<WriteResult()>& writes,
                     std::initializer_list<RecordSet*> touched = {});

} // namespace pylon
