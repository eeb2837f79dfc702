// A shop's own file, too large to be prepared before the first display: the first invoice is shown at once,
// the file is prepared behind it with a notice that takes no focus, and the dashboard says its figures are
// not ready until they are, then shows them by itself.
#include "app/startup.h"
#include "browse/document_list.h"
#include "browse/party_list.h"
#include "commands/statistics.h"
#include "find/dashboard.h"
#include "find/search_window.h"
#include "store/schema.h"
#include "support/gui_fixture.h"

#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QTest>

using namespace pylon;
using namespace pylon::test;

namespace {

class PreparationAtStart : public EditorTest {
  protected:
    void SetUp() override {
        for (const char* suffix : {"", "-wal", "-shm"})
            QFile::remove(file.path() + QLatin1String(suffix));
        ASSERT_EQ(runDbTool({QStringLiteral("demo"), file.path(), QStringLiteral("--documents"),
                             QStringLiteral("9000")}),
                  0);
        ASSERT_TRUE(stripAdditions(file.path()));
    }
    QFrame* notice() const {
        return editor->findChild<QFrame*>(QStringLiteral("preparationNotice"), Qt::FindDirectChildrenOnly);
    }
};

} // namespace

TEST_F(PreparationAtStart, TheFirstInvoiceComesAtOnceAndTheFileIsPreparedBehindIt) {
    // Another program holds the file for writing: the preparation waits for it, the editor does not.
    Database other;
    other.keepJournalModeOnOpen(true);
    ASSERT_TRUE(other.open(file.path()));
    ASSERT_TRUE(other.exec(QStringLiteral("BEGIN IMMEDIATE")));

    start();
    // Read on a thread, without the view, which waits for the indexes the preparation makes.
    EXPECT_TRUE(m->viewWaits);
    EXPECT_FALSE(m->rsDoc);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !ui().txtNumFact->text().isEmpty(); }, 5000))
        << "the first invoice is on screen";
    const QString number = ui().txtNumFact->text(), total = ui().txtTotalTTC->text();
    const int lines = ui().List1->count();
    EXPECT_TRUE(boxes.shown.empty()) << (boxes.shown.empty() ? std::string()
                                                             : boxes.shown[0].text.toStdString());
    ASSERT_TRUE(m->preparation) << "the file is prepared behind the editor";

    showDashboard(*m);
    DashboardWindow& dashboard = dashboardWindow(*m);
    EXPECT_TRUE(dashboard.ui.lblStatus->text().contains(QStringLiteral("en cours de calcul")))
        << dashboard.ui.lblStatus->text().toStdString();
    EXPECT_TRUE(dashboard.ui.lblMonthHT->text().isEmpty()) << "no figure shown as if it were final";

    ASSERT_TRUE(QTest::qWaitFor([this] { return notice() && notice()->isVisible(); }, 5000));
    EXPECT_TRUE(notice()
                    ->findChild<QLabel*>(QStringLiteral("preparationText"))
                    ->text()
                    .startsWith(QStringLiteral("Préparation de la base : ")));
    // Not isActiveWindow(): a tool window says it is active whenever the editor it belongs to is.
    EXPECT_NE(QGuiApplication::focusWindow(), notice()->windowHandle())
        << "the notice never takes the keyboard";
    // Without the program's indexes a search would read the whole file for each document it looks at.
    showSearchWindow(*m);
    SearchWindow& search = searchWindow(*m);
    EXPECT_TRUE(search.ui.lblStatus->text().contains(QStringLiteral("en cours de préparation")))
        << search.ui.lblStatus->text().toStdString();

    // The lists and the statistics, which read through them too, say so and wait.
    for (void (*command)(Session&) : {Command7_Click, Command9_Click, Command11_Click})
        command(*m);
    EXPECT_EQ(boxes.said(QStringLiteral(
                  "La base de données est en cours de préparation : réessayez dans un moment.")),
              3);

    other.rollback();
    other.close();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !m->preparation; }, 60000));
    EXPECT_FALSE(notice()->isVisible());
    EXPECT_EQ(dashboard.ui.lblStatus->text(),
              QStringLiteral("Factures et factures du mois, sans les factures annulées, avoirs déduits."))
        << "the dashboard shows its figures by itself once they are ready";
    EXPECT_FALSE(dashboard.ui.lblMonthHT->text().isEmpty());
    EXPECT_FALSE(search.ui.lblStatus->text().contains(QStringLiteral("préparation")))
        << "the search window searches by itself once the file is ready";
    ASSERT_TRUE(m->rsDoc) << "the view is opened once its indexes are made";
    EXPECT_EQ(ui().txtNumFact->text(), number) << "the view's first invoice is the one shown before it";
    EXPECT_EQ(ui().txtTotalTTC->text(), total);
    EXPECT_EQ(ui().List1->count(), lines);

    Database db;
    ASSERT_TRUE(db.open(file.path(), Database::Mode::ReadOnly));
    EXPECT_TRUE(schema::hasAdditions(db));
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT count(*) FROM pylon_totals_stale")).toInt(), 0);
}

// A file whose kept totals were made by an earlier version: the program makes their triggers again as it
// opens it, so that another program's "INSERT OR ABORT" twice on one document then succeeds.
TEST(EarlierTriggers, AreMadeAgainWhenTheProgramOpensTheFile) {
    TempDb file;
    const QString earlier =
        QStringLiteral("DROP TRIGGER pylon_totals_lines_added;"
                       "CREATE TRIGGER pylon_totals_lines_added AFTER INSERT ON DetFact BEGIN "
                       "DELETE FROM pylon_totals WHERE NumFact = NEW.NumFact; "
                       "INSERT OR IGNORE INTO pylon_totals_stale(NumFact) VALUES (NEW.NumFact); END;");
    ASSERT_EQ(runSqliteShell(file.path(), earlier), 0);
    {
        Session m;
        m.appPath = QFileInfo(file.path()).absolutePath();
        Form1 editor(m);
        Form1_Load(m);
        editor.close();
    }
    const QString insertTwice =
        QStringLiteral("INSERT INTO Facture VALUES (1, '2026-11-05', 7, 'Client', 'Rue', 'Facture', 0, 0);"
                       "INSERT INTO CliEC VALUES (7, 0, 0);"
                       "INSERT OR ABORT INTO DetFact VALUES (1, ' ', '1', 'Souris', '1,20', '1,20');"
                       "INSERT OR ABORT INTO DetFact VALUES (1, ' ', '1', 'Souris', '1,20', '1,20');");
    QString said;
    EXPECT_EQ(runSqliteShell(file.path(), insertTwice, &said), 0) << said.toStdString();
}
