// Entries kept in the program's own table: the last ten dropped, newest first; what is worth keeping; rows
// of a run that ended while typing them taken as cut short; the documents' tables never touched.
#include "backup/kept_entries.h"
#include "store/database.h"
#include "support/temp_db.h"

#include <QProcess>
#include <gtest/gtest.h>

using namespace pylon;
using namespace pylon::kept_entries;
using pylon::test::TempDb;

namespace {

class KeptEntries : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(db.open(file.path())); }
    KeptEntry entry(qint64 id, const QString& owner = {}) const {
        KeptEntry e;
        e.id = id;
        e.owner = owner;
        e.keptAt = QDateTime(QDate(2026, 12, 8), QTime(9, 0)).addSecs(id);
        e.number = QString::number(100 + id);
        e.client = QStringLiteral("7");
        e.columns[0] = {QStringLiteral("1")};
        return e;
    }
    std::vector<qint64> droppedIds() {
        std::vector<qint64> ids;
        const std::vector<KeptEntry> all = dropped(db).value_or(std::vector<KeptEntry>{});
        for (const auto& e : all)
            ids.push_back(e.id);
        return ids;
    }
    TempDb file;
    Database db;
};

} // namespace

TEST_F(KeptEntries, TheLastTenDroppedStayNewestFirstAndEntriesBeingTypedAreNotAmongThem) {
    EXPECT_TRUE(droppedIds().empty()) << "a file without the table has none";
    ASSERT_TRUE(keep(db, entry(50, thisRun())));
    for (qint64 id = 1; id <= 12; ++id)
        ASSERT_TRUE(keep(db, entry(id)));
    EXPECT_EQ(droppedIds(), std::vector<qint64>({12, 11, 10, 9, 8, 7, 6, 5, 4, 3}));
    ASSERT_TRUE(forget(db, 11));
    ASSERT_TRUE(forget(db, 50));
    EXPECT_EQ(droppedIds(), std::vector<qint64>({12, 10, 9, 8, 7, 6, 5, 4, 3}));
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT count(*) FROM pylon_kept_entries")).toInt(), 9);
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT count(*) FROM Facture")).toInt(), 0);
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT count(*) FROM DetFact")).toInt(), 0);
}

TEST_F(KeptEntries, WhatIsWorthKeeping) {
    const struct {
        const char* what;
        DocKind kind;
        QString client, cell;
        bool worth;
    } cases[] = {
        {"nothing typed", DocKind::Invoice, {}, {}, false},
        {"spaces only", DocKind::Invoice, QStringLiteral("  "), QStringLiteral(" "), false},
        {"a client", DocKind::Invoice, QStringLiteral("7"), {}, true},
        {"a cell", DocKind::Quote, {}, QStringLiteral("Vis"), true},
        {"a credit note's client is its document's", DocKind::CreditNote, QStringLiteral("7"), {}, false},
        {"a credit note's line", DocKind::CreditNote, QStringLiteral("7"), QStringLiteral("1"), true},
    };
    for (const auto& c : cases) {
        KeptEntry e;
        e.kind = c.kind;
        e.client = c.client;
        if (!c.cell.isNull()) e.columns[2] = {c.cell};
        EXPECT_EQ(e.worthKeeping(), c.worth) << c.what;
    }
}

// A run that no longer exists left its entry: another boot of the machine, a process that has ended, a
// process number taken since by another program, or a signature that cannot be read.
TEST_F(KeptEntries, EntriesOfRunsThatEndedAreTakenAsCutShort) {
    QProcess ended;
    ended.start(QStringLiteral("true"));
    ASSERT_TRUE(ended.waitForStarted());
    const qint64 endedPid = ended.processId();
    ASSERT_TRUE(ended.waitForFinished());
    const QString boot = thisRun().section(QLatin1Char(':'), 0, 0);
    const QString self = thisRun();
    const QString otherStart = self.section(QLatin1Char(':'), 0, 1) + QStringLiteral(":1");
    EXPECT_TRUE(runIsGoing(self));
    const QString owners[] = {QStringLiteral("another-boot:1:1"),
                              QStringLiteral("%1:%2:5").arg(boot).arg(endedPid), otherStart,
                              QStringLiteral("nonsense")};
    for (qint64 id = 1; id <= 4; ++id)
        ASSERT_TRUE(keep(db, entry(id, owners[id - 1])));
    ASSERT_TRUE(keep(db, entry(9, self)));
    for (const QString& owner : owners)
        EXPECT_FALSE(runIsGoing(owner)) << owner.toStdString();

    const auto cut = takeInterrupted(db, runIsGoing).value_or(std::vector<KeptEntry>{});
    ASSERT_EQ(cut.size(), 4u);
    for (const auto& e : cut)
        EXPECT_TRUE(e.interrupted && e.owner.isEmpty());
    EXPECT_EQ(droppedIds(), std::vector<qint64>({4, 3, 2, 1})) << "this run's own entry is still typed";
    const std::vector<KeptEntry> all = dropped(db).value_or(std::vector<KeptEntry>{});
    for (const auto& e : all)
        EXPECT_TRUE(e.interrupted);
    EXPECT_EQ(takeInterrupted(db, runIsGoing).value_or(std::vector<KeptEntry>{1}).size(), 0u) << "said once";
}
