#pragma once
// Entries that were being typed, kept in a table of the program's own (pylon_kept_entries) so that an
// entry dropped by mistake, or cut short by the program's end, can be brought back. The documents' tables
// are never touched: what is kept here is what the screen said, not a document.
//
// While an entry is under way its row belongs to the run typing it (`owner`), and says so; once the entry
// is dropped the row is one of the dropped entries, of which the last ten stay. A row still owned by a run
// that no longer exists is an entry the program's end cut short.
#include "domain/kinds.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace pylon {

class Database;

namespace kept_entries {

// How many dropped entries stay: older ones go as newer ones are dropped.
inline constexpr int kKept = 10;

struct KeptEntry {
    // When the entry began (milliseconds since 1970): its key, the same through the whole entry and when it
    // is brought back.
    qint64 id = 0;
    // The run typing it ("boot:pid"); empty once dropped.
    QString owner;
    // The program ended while it was being typed.
    bool interrupted = false;
    QDateTime keptAt;
    DocKind kind = DocKind::Invoice;
    QString number, date, client, name, address;
    bool onAccount = false;
    // The five line columns as typed: a column may be one row shorter than the first while a line's last
    // cells are not typed yet.
    std::array<QStringList, 5> columns;

    int lineCount() const { return int(columns[0].size()); }
    // Something was typed that a user would miss: a cell of a line, or the client of a document (a credit
    // note's client is the document's it is attached to).
    bool worthKeeping() const;
    // The same text everywhere (the time it was kept aside).
    bool sameTyping(const KeptEntry& other) const;
};

// Writes the entry (its row replaced when it is there), in one transaction; a dropped entry pushes out the
// dropped ones past the last kKept. The table is made on the first write.
bool keep(Database& db, const KeptEntry& entry);
// The entry was saved as a document: its row goes.
bool forget(Database& db, qint64 id);
// The dropped entries, newest first; nullopt when they cannot be read.
std::optional<std::vector<KeptEntry>> dropped(Database& db);
// The entries whose run ended while typing them (`running` tells whether a run still exists; this run's own
// rows count as ended, since this run has written none yet): each becomes a dropped entry marked as cut
// short, and is returned; nullopt when they could not be read or marked (nothing is marked then).
std::optional<std::vector<KeptEntry>> takeInterrupted(Database& db,
                                                      const std::function<bool(const QString&)>& running);

// This run, as it signs the rows it owns.
QString thisRun();
// Whether the run that signed `owner` is still going on this machine.
bool runIsGoing(const QString& owner);

} // namespace kept_entries
} // namespace pylon
