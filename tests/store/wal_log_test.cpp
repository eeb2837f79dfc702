// Whether saved changes still wait in the log beside the file, read from the log's own bytes.
#include "store/database.h"
#include "store/wal_log.h"
#include "support/temp_db.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace pylon;

namespace {

// Saves `saves` invoices through a connection that leaves them in the log, as a program stopped before it
// could copy them into the file does; `copied` copies them into the file first, without emptying the log.
void saveAndLeaveInTheLog(const QString& path, int saves, bool copied) {
    Database w;
    ASSERT_TRUE(w.open(path));
    ASSERT_TRUE(w.exec(QStringLiteral("PRAGMA wal_autocheckpoint=0")));
    for (int i = 1; i <= saves; ++i)
        ASSERT_TRUE(w.exec(QStringLiteral("INSERT INTO CliEC VALUES (%1, 0, 0)").arg(i)));
    if (copied) {
        ASSERT_TRUE(w.exec(QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)")));
    }
    sqlite3_db_config(w.handle(), SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
}

} // namespace

TEST(WalLog, SavesWaitingInTheLogAreToldFromWhatIsCopiedOrCutShort) {
    const struct {
        const char* what;
        int saves;
        bool copied;
        bool cutShort; // the log's last frame half written
        bool waiting;
    } cases[] = {
        {"no log", 0, false, false, false},
        {"a save waiting in the log", 1, false, false, true},
        {"the log already copied into the file", 2, true, false, false},
        {"the only save cut short", 1, false, true, false},
        {"the second save cut short", 2, false, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const test::TempDb file;
        if (c.saves > 0) saveAndLeaveInTheLog(file.path(), c.saves, c.copied);
        const QString log = file.path() + QStringLiteral("-wal");
        ASSERT_EQ(QFile::exists(log), c.saves > 0);
        if (c.cutShort) {
            ASSERT_TRUE(QFile::resize(log, QFile(log).size() - 1));
        }
        EXPECT_EQ(wal_log::holdsUnappliedCommits(file.path()), c.waiting);
    }
}
