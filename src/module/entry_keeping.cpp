#include "module/entry_keeping.h"

#include "module/module1.h"

#include <QDateTime>
#include <algorithm>

namespace pylon {

namespace {

const QString& thisRun() {
    static const QString run = kept_entries::thisRun();
    return run;
}

// Entries are keyed by the moment they began; two begun in the same millisecond still get two keys.
qint64 newId() {
    static qint64 last = 0;
    last = std::max(last + 1, QDateTime::currentMSecsSinceEpoch());
    return last;
}

bool onScreen(const Module1& m) {
    const auto& e = m.typedEntry;
    return e.id != 0 && e.onScreen && m.lines == e.lines;
}

// The entry under way as the keeper stores it.
kept_entries::KeptEntry entryOnScreen(const Module1& m) {
    kept_entries::KeptEntry e;
    e.id = m.typedEntry.id;
    e.owner = thisRun();
    e.keptAt = QDateTime::currentDateTime();
    // The kind the entry was begun in: a command that changes the kind shows its documents before the
    // entry is dropped.
    e.kind = m.lines->kind;
    e.number = m.header.number;
    e.date = m.header.date;
    e.client = m.header.client.number;
    e.name = m.header.client.name;
    e.address = m.header.client.address;
    e.onAccount = m.header.client.onAccount;
    e.columns = m.lines->columns;
    return e;
}

} // namespace

void entryBegins(Module1& m) {
    m.typedEntry = {};
    m.typedEntry.id = newId();
    m.typedEntry.lines = m.lines;
    m.typedEntry.onScreen = true;
}

void entryContinues(Module1& m, qint64 keptId) {
    if (m.typedEntry.id == 0) return;
    m.typedEntry.id = keptId;
    m.typedEntry.inFile = true;
}

void entryLeavesScreen(Module1& m) {
    if (!m.editing || !onScreen(m)) return;
    m.typedEntry.taken = entryOnScreen(m);
    m.typedEntry.onScreen = false;
}

void keepEntryUnderWay(Module1& m) {
    auto& typed = m.typedEntry;
    if (!m.editing || !onScreen(m) || !m.entryKeeper) return;
    const kept_entries::KeptEntry now = entryOnScreen(m);
    if (typed.sent && typed.sent->sameTyping(now)) return;
    // An entry emptied again is no longer worth a row; one never worth it never had one.
    if (!now.worthKeeping() && !typed.sent) return;
    typed.sent = now;
    typed.inFile = true;
    if (now.worthKeeping())
        m.entryKeeper->keep(now);
    else
        m.entryKeeper->forget(now.id);
}

void entrySaved(Module1& m) {
    // A row may be there: written while typing, or the one the entry was brought back from.
    if (m.typedEntry.inFile && m.entryKeeper) m.entryKeeper->forget(m.typedEntry.id);
    m.typedEntry = {};
}

void entryDropped(Module1& m) {
    auto& typed = m.typedEntry;
    if (typed.id == 0) return;
    std::optional<kept_entries::KeptEntry> last = typed.taken;
    if (!last && onScreen(m)) last = entryOnScreen(m);
    if (!last) last = typed.sent;
    if (m.entryKeeper) {
        if (last && last->worthKeeping()) {
            last->owner.clear();
            last->interrupted = false;
            last->keptAt = QDateTime::currentDateTime();
            m.entryKeeper->keep(*last);
        } else if (typed.inFile) {
            m.entryKeeper->forget(typed.id);
        }
    }
    m.typedEntry = {};
}

} // namespace pylon
