#include "support/temp_db.h"

#include "store/database.h"
#include "store/schema.h"

#include <QProcess>
#include <QStringList>

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

QString dumpOf(const QString& path) {
    QString out;
    const int code = runDbTool({QStringLiteral("dump"), path}, &out);
    if (code != 0) return QStringLiteral("pylon-db dump failed (%1): %2").arg(code).arg(out);
    return out;
}

} // namespace pylon::test
