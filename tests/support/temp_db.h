#pragma once
// Throw-away database files for tests: each test gets its own folder, removed afterwards.
#include <QString>
#include <QTemporaryDir>
#include <memory>

#include <ostream>

// Readable QStrings in failure messages.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace pylon::test {

class TempDb {
  public:
    // An empty database with the four tables, or, with demoDocuments > 0, a demo business.
    explicit TempDb(int demoDocuments = 0, int seed = 1);
    QString path() const { return path_; }
    QString dir() const { return dir_->path(); }
    // Runs SQL on the file through a connection of its own (for arranging and inspecting data).
    bool exec(const QString& sql) const;
    QString scalar(const QString& sql) const;

  private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString path_;
};

// Runs the database tool with arguments; returns its exit code, output in *out when given.
int runDbTool(const QStringList& args, QString* out = nullptr);

// Runs SQL on the file through the sqlite3 shell, another program with no function nor trigger of ours
// beyond those in the file; returns its exit code, what it wrote (errors included) in *out when given.
int runSqliteShell(const QString& path, const QString& sql, QString* out = nullptr);

// Runs SQL on the file and leaves what it wrote in the file's log, not yet copied into the file: whatever
// reads, copies or replaces the file must reckon with it.
bool writeIntoLog(const QString& path, const QString& sql);

// Leaves beside `path` the log of another database, holding changes that would be applied to any file
// given that name: what a file deleted or moved without its log leaves behind.
bool plantStaleLog(const QString& path);

// Takes away everything the program added to the file (indexes, triggers, kept totals) and puts back the
// old journal: the file as a shop brings it, with the four tables only.
bool stripAdditions(const QString& path);

// The business the file holds as `pylon-db dump` prints it: equal texts, equal files. A file the tool
// cannot read gives a text that starts "pylon-db dump failed" and so equals no dump.
QString dumpOf(const QString& path);

} // namespace pylon::test
