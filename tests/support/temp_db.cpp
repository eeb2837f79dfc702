#include "support/temp_db.h"

#include "store/database.h"
#include "store/schema.h"

#include <QFile>
#include <QProcess>
#include <QStringList>
#include <sqlite3.h>

namespace pylon::test {

TempDb::TempDb(int demoDocuments, int seed) : dir_(std::make_unique<QTemporaryDir>()) {
    path_ = dir_->filePath(QString::fromLatin1(schema::kFileName));
    if (demoDocuments > 0) {
        runDbTool({QStringLiteral("demo"), path_, QStringLiteral("--documents"),
                   QString::number(demoDocuments), QStringLiteral("--seed"), QString::number(seed)});
    } else {
        Database db;
        if (db.open(path_, Database::Mode::Create)) schema::createTables(db);
    }
}

bool TempDb::exec(const QString& sql) const {
    Database db;
    return db.open(path_) && db.exec(sql);
}

QString TempDb::scalar(const QString& sql) const {
    Database db;
    if (!db.open(path_)) return QStringLiteral("<cannot open>");
    return db.scalar(sql).toString();
}

int runDbTool(const QStringList& args, QString* out) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral(PYLON_DB_TOOL), args);
    if (!p.waitForFinished(120000)) return -1;
    if (out) *out = QString::fromUtf8(p.readAll());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

int runSqliteShell(const QString& path, const QString& sql, QString* out) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    // -bail: a failing statement ends the run with an error code, as it would end another program's write.
    p.start(QStringLiteral("sqlite3"), {QStringLiteral("-bail"), path});
    if (!p.waitForStarted(30000)) {
        if (out) *out = QStringLiteral("sqlite3 cannot be started: %1").arg(p.errorString());
        return -1;
    }
    p.write(sql.toUtf8() + '\n');
    p.closeWriteChannel();
    if (!p.waitForFinished(60000)) return -1;
    if (out) *out = QString::fromUtf8(p.readAll());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

bool writeIntoLog(const QString& path, const QString& sql) {
    Database w;
    if (!w.open(path) || !w.exec(QStringLiteral("PRAGMA wal_autocheckpoint=0")) || !w.exec(sql)) return false;
    sqlite3_db_config(w.handle(), SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    return true;
}

bool plantStaleLog(const QString& path) {
    const QString other = path + QStringLiteral(".autre");
    {
        Database db;
        if (!db.open(other, Database::Mode::Create) || !schema::createTables(db)) return false;
    }
    // Many rows, so that the log reaches far into any file it is applied to.
    const bool written = writeIntoLog(
        other,
        QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
                       "INSERT INTO DetFact SELECT i, ' ', '1', 'Ligne d''un autre fichier', '1,00', "
                       "'1,00' FROM n"));
    const bool moved =
        written && QFile::rename(other + QStringLiteral("-wal"), path + QStringLiteral("-wal"));
    for (const char* suffix : {"", "-wal", "-shm"})
        QFile::remove(other + QLatin1String(suffix));
    return moved;
}

bool stripAdditions(const QString& path) {
    Database db;
    if (!db.open(path)) return false;
    QStringList drops;
    {
        auto st =
            db.prepare(QStringLiteral("SELECT type, name FROM sqlite_master WHERE name LIKE 'pylon%' AND "
                                      "type IN ('table', 'trigger', 'index')"));
        while (st && st->step())
            drops << QStringLiteral("DROP %1 IF EXISTS %2;")
                         .arg(st->value(0).toString(), st->value(1).toString());
        if (!st || !st->ok()) return false;
    }
    return db.exec(drops.join(QString())) && db.exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
}

QString dumpOf(const QString& path) {
    QString out;
    const int code = runDbTool({QStringLiteral("dump"), path}, &out);
    if (code != 0) return QStringLiteral("pylon-db dump failed (%1): %2").arg(code).arg(out);
    return out;
}

} // namespace pylon::test
