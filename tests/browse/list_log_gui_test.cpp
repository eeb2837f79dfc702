// A list window left open (a row double-clicked keeps it on screen) reads its rows at one moment of the
// file; held for ever, that moment would stop SQLite from starting its log again, and the log would grow
// with every save of the day. The window takes a new moment once the log grows long, keeping the chosen
// number, and the log stays near the size SQLite's own checkpoints keep it at.
#include "browse/form2.h"
#include "browse/list_column.h"
#include "find/dashboard.h"
#include "find/search_window.h"
#include "store/database.h"
#include "support/gui_fixture.h"
#include "support/list_driver.h"

#include <QFileInfo>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

using namespace pylon;
using namespace pylon::test;

namespace {

constexpr qint64 kBound = 8 * 1024 * 1024; // twice the log at SQLite's automatic checkpoint

class ListLog : public EditorTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(file.exec(QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 400) "
            "INSERT INTO Facture SELECT i * 2, '2026-10-01', 9000 + i % 20, 'Client', 'Rue', 'Facture', 0, 0 "
            "FROM n;"
            "INSERT INTO DetFact SELECT NumFact, '1', '2', 'Article', '10,00', '20,00' FROM Facture;"
            "INSERT INTO CliEC SELECT DISTINCT NumCli, 0, 0 FROM Facture;")));
        start();
    }
    Form2& window() const { return static_cast<Form2&>(*m->form2); }
    qint64 logSize() const { return QFileInfo(file.path() + QStringLiteral("-wal")).size(); }

    // Saves `documents` invoices of ten lines from a second connection, as another copy of the program
    // would, letting the windows' events run now and then; returns the longest the log grew.
    qint64 saveMany(Database& writer, int documents, qint64 firstNumber) {
        qint64 longest = 0;
        for (int i = 0; i < documents; ++i) {
            const qint64 n = firstNumber + i;
            Transaction t(writer);
            EXPECT_TRUE(t.active()) << writer.lastError().toStdString();
            writer.exec(QStringLiteral("INSERT INTO Facture VALUES (?, '2026-11-30', 77, 'Autre', 'Rue', "
                                       "'Facture', 0, 0)"),
                        {n});
            writer.exec(
                QStringLiteral("WITH RECURSIVE k(j) AS (SELECT 1 UNION ALL SELECT j + 1 FROM k WHERE j "
                               "< 10) INSERT INTO DetFact SELECT ?, j, '1', 'Ligne de ' || ? || ' n° ' "
                               "|| j, '3,00', '3,00' FROM k"),
                {n, n});
            EXPECT_TRUE(t.commit()) << writer.lastError().toStdString();
            if (i % 10 == 9) QTest::qWait(15);
            longest = std::max(longest, logSize());
        }
        return longest;
    }
};

// The invoice list with row 150 (number 302) double-clicked, the search window and the dashboard open
// too; 2,500 saves later the log is still short, and the list, read again meanwhile, still has number
// 302 chosen, now among the new documents.
TEST_F(ListLog, AnOpenListDoesNotHoldTheLogBack) {
    ASSERT_TRUE(file.exec(QStringLiteral("INSERT INTO CliEC VALUES (77, 0, 0)")));
    ui().Command7->click();
    ASSERT_TRUE(m->form2 && window().isVisible());
    ListColumn& numbers = *window().ui.List1;
    const int before = numbers.count();
    doubleClickRow(numbers, 150);
    ASSERT_TRUE(window().isVisible());
    ASSERT_EQ(numbers.text(numbers.ListIndex()), "302");
    const int scrolled = numbers.verticalScrollBar()->value();
    showSearchWindow(*m);
    showDashboard(*m);
    auto* watch = window().findChild<QTimer*>(QStringLiteral("logWatch"));
    ASSERT_TRUE(watch);
    watch->setInterval(10);

    Database writer;
    ASSERT_TRUE(writer.open(file.path()));
    ASSERT_TRUE(writer.exec(QStringLiteral("PRAGMA synchronous=OFF"))); // the test's speed only
    const qint64 longest = saveMany(writer, 2500, 100001);
    EXPECT_LT(longest, kBound);

    QTest::qWait(50);
    ASSERT_TRUE(window().isVisible());
    EXPECT_GT(numbers.count(), before) << "the rows were never read again";
    EXPECT_EQ(numbers.text(numbers.ListIndex()), "302");
    EXPECT_EQ(window().ui.List2->text(numbers.ListIndex()), "01/10/2026");
    EXPECT_EQ(numbers.verticalScrollBar()->value(), scrolled);
    // Every row the list shows is a document of the file, in number order.
    const QStringList shown = rowTexts(numbers);
    for (int row : {0, before - 1, before, int(shown.size()) - 1})
        EXPECT_EQ(count("Facture", QStringLiteral("NumFact = ") + shown.value(row)), "1") << row;
    EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end(), [](const QString& a, const QString& b) {
        return a.toLongLong() < b.toLongLong();
    }));
}

// Below the mark nothing is read again: a list read at 400 rows keeps its 400 rows through a few saves.
TEST_F(ListLog, AShortLogLeavesTheListAsItWasRead) {
    ASSERT_TRUE(file.exec(QStringLiteral("INSERT INTO CliEC VALUES (77, 0, 0)")));
    ui().Command7->click();
    ASSERT_TRUE(m->form2 && window().isVisible());
    window().findChild<QTimer*>(QStringLiteral("logWatch"))->setInterval(10);
    Database writer;
    ASSERT_TRUE(writer.open(file.path()));
    saveMany(writer, 20, 100001);
    QTest::qWait(50);
    EXPECT_EQ(window().ui.List1->count(), 400);
}

} // namespace
