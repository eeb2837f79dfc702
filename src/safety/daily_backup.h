#pragma once
// The day's snapshot of the database, taken by the program itself without being asked: at the first start
// of the day, once the editor is shown, and again at "&Quitter", with the day's work. It runs on a thread
// of its own, on a connection of its own: the editor never waits for it, and saves go on meanwhile.
// A failure (a full disk, a folder that cannot be written) is said once a day, in a notice that takes
// neither the keyboard nor the focus; it never stops the program.
#include "backup/snapshot.h"

#include <QDate>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QThread;

namespace pylon {

struct Session;

// Which file, into which folder, on which day. The tests give their own.
struct BackupPlan {
    QString database;
    QString folder;
    std::function<QDate()> today;
    // Where the day a failure was last said is kept, so that it is said once a day whatever the number of
    // starts; empty: kept for this run only.
    QString noticeState;
};

// The program's: the database of its folder, "Sauvegardes" beside it, the machine's date, and the day of
// the last failure said kept in the user's application data.
BackupPlan programPlan(const Session& m);

class DailyBackup : public QObject {
    Q_OBJECT
  public:
    // Belongs to the editor and goes with it, once the snapshot under way (and one asked at quit) is done.
    DailyBackup(Session& m, BackupPlan plan);
    ~DailyBackup() override;

    // Today's snapshot, unless there is one already.
    void atStart();
    // Today's snapshot again. The editor is closing: a failure can no longer be shown.
    void atQuit();
    // A snapshot at the user's request; how it went is said either way.
    void now();
    // Runs the editor's events until every snapshot asked so far is over (the end of the run, tests).
    void waitForAll();
    // A snapshot is being taken, or waits for its turn.
    bool busy() const { return thread_ || !queue_.empty(); }
    const BackupPlan& plan() const { return plan_; }

  signals:
    // In the editor's thread, each time a snapshot is over.
    void finished(bool ok);

  private:
    enum class Reason { Start, Quit, User };
    void ask(Reason reason);
    void startNext();
    void over();
    void say(Reason reason, const snapshot::Outcome& outcome);

    Session& m_;
    BackupPlan plan_;
    std::vector<Reason> queue_;
    std::unique_ptr<QThread> thread_;
    Reason running_ = Reason::Start;
    snapshot::Outcome outcome_;
    QDate failureSaidOn_;
};

// The editor's daily backup, or null when the program runs without one.
DailyBackup* dailyBackupOf(Session& m);
// Gives the editor its daily backup with the program's plan and asks for the start's snapshot, taken once
// the editor's events run (after its first display). Nothing is copied when the database did not open.
void startDailyBackups(Session& m);
// "&Quitter": the day's snapshot again, when the editor has a daily backup.
void backupAtQuit(Session& m);
// Whether the editor's daily backup is taking a snapshot or has one waiting.
bool snapshotUnderWay(Session& m);
// Waits until every snapshot asked is written (the end of the run).
void finishSnapshots(Session& m);
// "Sauvegarder maintenant".
void backupNow(Session& m);

// What the user reads after a failure of the copy of `database` into `folder`, in French.
QString backupFailureText(const snapshot::Outcome& outcome, const QString& database, const QString& folder);

} // namespace pylon
