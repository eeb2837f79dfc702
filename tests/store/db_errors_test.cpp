// The words of every fault of the database file.
#include "store/db_errors.h"
#include "support/temp_db.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace pylon;

TEST(FaultTexts, EveryFaultOfTheFileSaysWhatHappenedAndWhatToDo) {
    const QString path = QStringLiteral("/données/VelD");
    // Primary codes and some of their extended ones: a write error, a stale snapshot, a read-only folder.
    for (const int code :
         {SQLITE_READONLY, SQLITE_READONLY_DIRECTORY, db_errors::kFileMoved, db_errors::kUnappliedLog,
          SQLITE_BUSY, SQLITE_BUSY_SNAPSHOT, SQLITE_LOCKED, SQLITE_FULL, SQLITE_IOERR, SQLITE_IOERR_WRITE,
          SQLITE_CORRUPT, SQLITE_NOTADB, SQLITE_CANTOPEN, SQLITE_PERM}) {
        const QString text = db_errors::explain(code, path, QStringLiteral("engine words"));
        EXPECT_TRUE(text.contains(QStringLiteral("« /données/VelD »"))) << code << text.toStdString();
        EXPECT_EQ(text.count(QStringLiteral("\r\n")), 1) << "what happened, then what to do: " << code;
        EXPECT_TRUE(text.at(0).isLower()) << "follows a colon: " << code;
        EXPECT_FALSE(text.contains(QStringLiteral("engine words"))) << code;
    }
    EXPECT_TRUE(db_errors::explain(SQLITE_READONLY_DIRECTORY, path, {}).contains("en lecture seule"));
    EXPECT_TRUE(db_errors::explain(SQLITE_BUSY_SNAPSHOT, path, {}).contains("un autre programme"));
    EXPECT_TRUE(db_errors::explain(SQLITE_IOERR_WRITE, path, {}).contains("erreur du disque"));
    EXPECT_TRUE(db_errors::explain(db_errors::kUnappliedLog, path, {}).contains("journal « VelD-wal »"));
    // A rule of the data, not the file: the engine's own words are the reason.
    EXPECT_EQ(db_errors::explain(SQLITE_CONSTRAINT_TRIGGER, path, QStringLiteral("client protégé")),
              "client protégé");
    EXPECT_FALSE(db_errors::needsRestart(SQLITE_BUSY));
    EXPECT_TRUE(db_errors::needsRestart(SQLITE_READONLY));
}
