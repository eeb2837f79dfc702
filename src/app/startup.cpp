#include "app/startup.h"

#include "browse/list_window.h"
#include "editor/form1.h"
#include "editor/session.h"
#include "editor/show_document.h"
#include "find/preparation_notice.h"
#include "safety/daily_backup.h"
#include "safety/entry_keeping.h"
#include "store/db_errors.h"
#include "store/schema.h"
#include "store/totals_cache.h"
#include "widgets/messages.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTimer>
#include <functional>
#include <optional>

namespace pylon {

namespace {

enum class Opening { Opened, Unreadable, Damaged, LogUnread };

// A file the program has not prepared is read whole for damage before anything is written into it. A small
// one is read here, for a bounded time; a large one by the preparation, on its own thread, before it writes
// anything (`checkLater`), so that the first document is shown at once whatever the file's size.
Opening openDatabase(Session& m, bool& checkLater) {
    const QString path = m.databasePath();
    // Never create a file here: a missing database is reported, not silently replaced by an empty one.
    if (!QFileInfo::exists(path)) {
        m.db.setError(QStringLiteral("no database file"), db_errors::kCantOpen);
        return Opening::Unreadable;
    }
    // Its tables are looked for before anything is written to it: another program's file is left as it is.
    const auto accept = [&checkLater](Database& db) {
        if (!schema::hasTables(db)) return false;
        if (schema::hasAdditions(db)) return true;
        if (!PreparationWork::of(db).quick()) {
            checkLater = true;
            // Not even the log mode's mark is written before the check.
            db.keepJournalModeOnOpen(true);
            return true;
        }
        QElapsedTimer clock;
        clock.start();
        return db.checkForDamage([&clock] { return clock.elapsed() < 2000; });
    };
    const bool opened = m.db.open(path, Database::Mode::ReadWrite, accept);
    m.db.keepJournalModeOnOpen(false);
    if (!opened) {
        switch (db_errors::faultOf(m.db.lastErrorCode())) {
        case db_errors::Fault::Damaged:
            return Opening::Damaged;
        case db_errors::Fault::UnappliedLog:
            return Opening::LogUnread;
        default:
            return Opening::Unreadable;
        }
    }
    return Opening::Opened;
}

void sayDamaged(Session& m) {
    MsgBox(m.form1, QStringLiteral("La base de données est endommagée :\r\n") +
                        QDir::toNativeSeparators(m.databasePath()) +
                        QStringLiteral("\r\nElle n'a pas été ouverte et rien n'y a été écrit. Fermez le "
                                       "programme et remplacez ce fichier par une copie de sauvegarde."));
}

// Said at start, rather than after a whole document has been typed for nothing.
void sayWhyNotOpened(Session& m, Opening opening) {
    const QString path = QDir::toNativeSeparators(m.databasePath());
    if (opening == Opening::Damaged) {
        sayDamaged(m);
        return;
    }
    if (opening == Opening::LogUnread) {
        MsgBox(m.form1, QStringLiteral("La base de données n'a pas été ouverte et rien n'y a été écrit : ") +
                            m.db.failureText());
        return;
    }
    QString text = QStringLiteral("Base de données introuvable ou illisible :\r\n") + path;
    // A missing file or one that is no database says no more; a disk or permission fault says what to do.
    switch (db_errors::faultOf(m.db.lastErrorCode())) {
    case db_errors::Fault::None:
    case db_errors::Fault::CantOpen:
    case db_errors::Fault::NotADatabase:
        break;
    default:
        text += QStringLiteral("\r\n") + m.db.failureText();
    }
    MsgBox(m.form1, text);
}

// Nothing more is shown from the reading made while the view waited.
void stopWaitingForView(Session& m) {
    m.viewWaits = false;
    m.shownWhileViewWaits.reset();
    m.firstDocumentRead.reset();
}

// The view is opened on the kind the editor is in, now that it reads quickly (or, when the preparation
// could not make its indexes, because there is no other way to read it); the editor shows the view's
// document unless an entry is under way.
void openWaitingView(Session& m) {
    if (!m.viewWaits) return;
    stopWaitingForView(m);
    if (!m.db.isOpen()) return;
    m.rsDoc = RecordSet::open(m.db, kindInfo(m.currentKind()).viewSql);
    if (!m.editMode()) ShowCurrentDocument(m);
}

// The first document of the kind, read without the view, shown when it arrives unless the user has begun
// an entry or gone to another kind meanwhile; `then` follows.
void readFirstDocumentBehind(Session& m, std::function<void()> then) {
    Session* mp = &m;
    const DocKind kind = m.currentKind();
    m.firstDocumentRead = std::make_unique<FirstDocumentRead>(
        m.db.path(), kind, [mp, kind, then](const std::optional<DocumentDisplay>& d) {
            if (!mp->viewWaits) return;
            mp->shownWhileViewWaits = d;
            mp->shownWhileViewWaitsKind = kind;
            if (d && !mp->editMode() && mp->currentKind() == kind) showDocumentDisplay(*mp, *d);
            then();
        });
}

void releaseRecordSets(Session& m) {
    for (auto* rs : {&m.rsDoc, &m.rsFacture, &m.rsDetFact, &m.rsCliEC})
        rs->reset();
}

// Damage found once the program was running ends where damage found at start does: the file is closed
// as it was found, nothing more is read from it or written to it, and the user is told the same. A
// document being typed stays on screen, for the user to note; otherwise the editor empties.
void damageFound(Session& m, const QString& problem) {
    releaseListWindow(m);
    releaseRecordSets(m);
    stopWaitingForView(m);
    // The file stays as it was found: nothing of the entries is written into it any more.
    if (m.entryKeeper) m.entryKeeper->stopWriting();
    m.db.closeAsDamaged(problem);
    if (!m.editMode()) ShowCurrentDocument(m);
    sayDamaged(m);
}

} // namespace

void startDamageCheck(Session& m) {
    m.damageCheck.reset();
    if (!m.db.isOpen()) return;
    Session* mp = &m;
    m.damageCheck = std::make_unique<DamageCheck>(
        m.db.path(), [mp](const QString& problem) { damageFound(*mp, problem); });
}

namespace {

// A save made while the preparation builds an index waits for it rather than failing: the largest takes
// seconds at a million documents.
constexpr int kPatientMs = 30000;

void preparationEnded(Session& m, int patience) {
    if (m.db.isOpen()) m.db.setBusyTimeout(patience);
    openWaitingView(m);
    hidePreparationNotice(m.form1);
    // Not from inside the preparation's own call.
    Session* mp = &m;
    QTimer::singleShot(0, m.form1, [mp] { mp->preparation.reset(); });
    figuresReady(m);
}

} // namespace

void startPreparation(Session& m, PreparationWork work) {
    m.preparation.reset();
    if (!m.db.isOpen() || m.db.readOnly() || !work.any()) return;
    Session* mp = &m;
    const int patience = m.db.busyTimeout();
    m.db.setBusyTimeout(kPatientMs);
    // The notice only for work that lasts: most files are ready before the user has noticed anything.
    auto latest = std::make_shared<std::optional<PreparationProgress>>();
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    const auto say = [mp, latest] {
        if (mp->preparation && *latest) showPreparationNotice(mp->form1, **latest);
    };
    m.preparation = std::make_unique<Preparation>(
        m.db.path(), std::move(work),
        Preparation::Callbacks{[mp, latest, clock, say](const PreparationProgress& p) {
                                   *latest = p;
                                   if (clock->elapsed() >= 1000) say();
                                   if (mp->viewWaits && schema::hasViewIndexes(mp->db)) openWaitingView(*mp);
                               },
                               [mp](const QString& problem) { damageFound(*mp, problem); },
                               [mp, patience](bool) { preparationEnded(*mp, patience); }});
    QTimer::singleShot(1000, m.form1, say);
}

void openDatabaseAndShowFirstDocument(Session& m) {
    bool checkLater = false;
    const Opening opening = openDatabase(m, checkLater);
    PreparationWork work;
    if (opening == Opening::Opened && !m.db.readOnly()) {
        // Kept totals whose triggers are of an earlier version get the new ones: a moment's write of the
        // triggers alone, the kept rows being right. A file never read for damage waits for its reading.
        if (!checkLater && totals_cache::present(m.db)) totals_cache::ensure(m.db);
        work = PreparationWork::of(m.db);
        work.check = checkLater;
        // A small file is brought up to date at once; a busy one goes without for now, slower, not wrong.
        if (!checkLater && work.quick() && work.any()) {
            prepareFile(m.db, work);
            work = {};
        }
    }
    if (opening != Opening::Opened) {
        sayWhyNotOpened(m, opening);
    } else {
        // A large file the program has never prepared: its view waits for the indexes it reads through.
        m.viewWaits = checkLater && !m.db.readOnly() && !schema::hasViewIndexes(m.db);
        if (!m.viewWaits) m.rsDoc = RecordSet::open(m.db, kindInfo(DocKind::Invoice).viewSql);
        m.openSharedRecordSets();
    }
    ShowCurrentDocument(m);
    if (m.db.isOpen() && m.db.readOnly())
        MsgBox(m.form1, QStringLiteral("La base de données est en lecture seule :\r\n") +
                            QDir::toNativeSeparators(m.databasePath()) +
                            QStringLiteral(
                                "\r\nVous pouvez consulter les documents, mais aucune modification ne sera "
                                "enregistrée. Pour pouvoir enregistrer, vérifiez les droits d'accès de ce "
                                "fichier et de son dossier (ils doivent permettre l'écriture), puis relancez "
                                "le programme."));
    // The preparation reads a file it has never prepared for damage before it writes into it; any other
    // file is read beside it. On a file whose view waits for it, it starts once the first invoice is read,
    // which its reading would slow down.
    startKeepingEntries(m);
    if (m.viewWaits) {
        readFirstDocumentBehind(m, [mp = &m, work] { startPreparation(*mp, work); });
        return;
    }
    startPreparation(m, work);
    if (!m.preparation || !checkLater) startDamageCheck(m);
}

void Form1_Load(Session& m) {
    openDatabaseAndShowFirstDocument(m);
}

void sayWhenDatabaseIsEmpty(Session& m) {
    // Only a table that was read and found empty: a file that cannot be read at the moment is not empty.
    const std::optional<long> documents = m.rsFacture ? m.rsFacture->RowCount() : std::nullopt;
    if (documents && *documents == 0)
        MsgBox(m.form1, QStringLiteral("La base de données est vide."), MsgStyle::Ok,
               QStringLiteral("Message"));
}

void Form1_Activate(Session& m) {
    sayWhenDatabaseIsEmpty(m);
}

namespace {

// The editor's connection goes last, and folds the log into the file as it goes: a copy of the file alone
// then holds every save, and nothing of the day's work waits in the log.
void closeDatabase(Session& m) {
    if (!m.db.isOpen()) return;
    m.db.foldLog();
    m.db.close();
}

} // namespace

void closeDatabaseAndWindows(Session& m) {
    // An entry on screen is kept before anything closes; the keeper's connection goes first.
    stopKeepingEntries(m);
    // What the preparation committed stays; the rest is done at the next start.
    m.preparation.reset();
    stopWaitingForView(m);
    m.damageCheck.reset();
    // The list window reads through connections of its own, which must not outlast the program's: the
    // last connection to close is the one that folds the log back into the file.
    releaseListWindow(m);
    releaseRecordSets(m);
    // Every other window of the program goes with the editor.
    for (auto* w : {&m.form2, &m.form3, &m.form4, &m.form5, &m.searchWindow, &m.dashboardWindow}) {
        if (*w) (*w)->close();
        w->reset();
    }
    // A snapshot under way reads the file through a connection of its own, which a fold now could not get
    // past: the connection stays open, unused, until the end of the run, once the snapshot is written.
    if (!snapshotUnderWay(m)) closeDatabase(m);
}

void endRun(Session& m) {
    // Ended without its window being closed (the application told to quit): the same release sequence.
    if (m.form1) m.form1->close();
    finishSnapshots(m);
    closeDatabase(m);
}

void Form1_Unload(Session& m) {
    closeDatabaseAndWindows(m);
}

} // namespace pylon
