#include "safety/daily_backup.h"

#include "backup/daily_snapshots.h"
#include "editor/form1.h"
#include "editor/session.h"
#include "safety/backup_notice.h"
#include "store/db_errors.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <algorithm>

namespace pylon {

namespace {

QString quoted(const QString& path) {
    return QStringLiteral("« %1 »").arg(QDir::toNativeSeparators(path));
}

// One key per database file, so that two businesses on one machine each hear of their own failures.
QString stateKey(const QString& database) {
    const QByteArray path = QFileInfo(database).absoluteFilePath().toUtf8();
    return QStringLiteral("echec-signale/") +
           QString::fromLatin1(QCryptographicHash::hash(path, QCryptographicHash::Md5).toHex());
}

} // namespace

BackupPlan programPlan(const Session& m) {
    BackupPlan plan;
    plan.database = m.databasePath();
    plan.folder = daily_snapshots::folderBeside(plan.database);
    plan.today = [] { return QDate::currentDate(); };
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    if (!data.isEmpty()) plan.noticeState = QDir(data).filePath(QStringLiteral("sauvegardes.ini"));
    return plan;
}

QString backupFailureText(const snapshot::Outcome& outcome, const QString& database, const QString& folder) {
    QString reason;
    // The file itself gone is told apart from a folder that cannot be written, which SQLite codes alike.
    const db_errors::Fault fault =
        QFileInfo(database).isFile() ? db_errors::faultOf(outcome.code) : db_errors::Fault::Moved;
    switch (fault) {
    case db_errors::Fault::Moved:
        reason = QStringLiteral("le fichier de la base de données %1 est introuvable.").arg(quoted(database));
        break;
    case db_errors::Fault::Full:
        reason = QStringLiteral("le disque est plein.\r\nLibérez de la place sur le disque du dossier %1.")
                     .arg(quoted(folder));
        break;
    case db_errors::Fault::ReadOnly:
    case db_errors::Fault::CantOpen:
        reason = QStringLiteral("le dossier %1 ne peut pas être créé ou modifié.\r\nVérifiez ses droits "
                                "d'accès : ils doivent permettre l'écriture.")
                     .arg(quoted(folder));
        break;
    case db_errors::Fault::Damaged:
    case db_errors::Fault::NotADatabase:
        reason = QStringLiteral("la copie n'a pas passé la vérification : la base de données est peut-être "
                                "endommagée.\r\nGardez les sauvegardes plus anciennes du dossier %1.")
                     .arg(quoted(folder));
        break;
    default:
        reason = db_errors::explain(outcome.code, folder, outcome.detail);
    }
    return QStringLiteral("La sauvegarde de la base de données n'a pas pu être faite : ") + reason +
           QStringLiteral("\r\nVos documents ne sont pas touchés et le programme continue normalement.");
}

DailyBackup::DailyBackup(Session& m, BackupPlan plan) : QObject(m.form1), m_(m), plan_(std::move(plan)) {
    setObjectName(QStringLiteral("dailyBackup"));
    if (!plan_.today) plan_.today = [] { return QDate::currentDate(); };
}

DailyBackup::~DailyBackup() {
    if (thread_) thread_->wait();
    // The snapshot asked at quit, when the one of the start was still under way: the windows are gone,
    // only the program's end waits for it.
    const bool quitAsked = std::find(queue_.begin(), queue_.end(), Reason::Quit) != queue_.end();
    if (quitAsked && !(thread_ && running_ == Reason::Quit))
        daily_snapshots::takeSnapshot(plan_.database, plan_.folder, plan_.today());
}

void DailyBackup::atStart() {
    ask(Reason::Start);
}

void DailyBackup::atQuit() {
    ask(Reason::Quit);
}

void DailyBackup::now() {
    ask(Reason::User);
}

void DailyBackup::ask(Reason reason) {
    queue_.push_back(reason);
    if (!thread_) startNext();
}

void DailyBackup::startNext() {
    while (!queue_.empty()) {
        running_ = queue_.front();
        queue_.erase(queue_.begin());
        const QString database = plan_.database;
        const QString folder = plan_.folder;
        const QDate day = plan_.today();
        // Once a day at start: a later start of the same day finds the snapshot there.
        if (running_ == Reason::Start &&
            QFileInfo::exists(daily_snapshots::snapshotPath(folder, database, day)))
            continue;
        thread_.reset(QThread::create([this, database, folder, day] {
            outcome_ = daily_snapshots::takeSnapshot(database, folder, day);
        }));
        connect(thread_.get(), &QThread::finished, this, &DailyBackup::over);
        thread_->start(QThread::LowPriority);
        return;
    }
}

void DailyBackup::over() {
    thread_->wait();
    thread_.reset();
    say(running_, outcome_);
    emit finished(outcome_.ok);
    startNext();
}

void DailyBackup::say(Reason reason, const snapshot::Outcome& outcome) {
    if (reason == Reason::User) {
        showBackupNotice(m_.form1, outcome.ok ? QStringLiteral("La base de données est sauvegardée :\r\n%1")
                                                    .arg(quoted(daily_snapshots::snapshotPath(
                                                        plan_.folder, plan_.database, plan_.today())))
                                              : backupFailureText(outcome, plan_.database, plan_.folder));
        return;
    }
    // At quit the editor is gone: nobody is left to read it.
    if (outcome.ok || reason == Reason::Quit) return;
    const QDate day = plan_.today();
    if (failureSaidOn_ == day) return;
    failureSaidOn_ = day;
    if (!plan_.noticeState.isEmpty()) {
        QSettings state(plan_.noticeState, QSettings::IniFormat);
        if (state.value(stateKey(plan_.database)).toString() == day.toString(Qt::ISODate)) return;
        state.setValue(stateKey(plan_.database), day.toString(Qt::ISODate));
    }
    showBackupNotice(m_.form1, backupFailureText(outcome, plan_.database, plan_.folder));
}

void DailyBackup::waitForAll() {
    while (thread_) {
        thread_->wait();
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    }
}

DailyBackup* dailyBackupOf(Session& m) {
    return m.form1
               ? m.form1->findChild<DailyBackup*>(QStringLiteral("dailyBackup"), Qt::FindDirectChildrenOnly)
               : nullptr;
}

void startDailyBackups(Session& m) {
    if (!m.form1 || !m.db.isOpen()) return;
    DailyBackup* backup = dailyBackupOf(m);
    if (!backup) backup = new DailyBackup(m, programPlan(m));
    // The editor is on screen by then: the copy never competes with its first display.
    QTimer::singleShot(500, backup, &DailyBackup::atStart);
}

void backupAtQuit(Session& m) {
    if (DailyBackup* backup = dailyBackupOf(m)) backup->atQuit();
}

bool snapshotUnderWay(Session& m) {
    const DailyBackup* backup = dailyBackupOf(m);
    return backup && backup->busy();
}

void finishSnapshots(Session& m) {
    if (DailyBackup* backup = dailyBackupOf(m)) backup->waitForAll();
}

void backupNow(Session& m) {
    DailyBackup* backup = dailyBackupOf(m);
    if (!backup) backup = new DailyBackup(m, programPlan(m));
    backup->now();
}

} // namespace pylon
