// The end of a run leaves the file whole on its own: however the program ends and whatever windows were
// open, the day's saves are in `VelD` itself and no log with content is left beside it, so that a copy
// of the file alone (onto a stick, read-only media) holds every document.
#include "app/startup.h"
#include "browse/form2.h"
#include "browse/list_column.h"
#include "editing/form5.h"
#include "editor/form1.h"
#include "find/dashboard.h"
#include "find/search_window.h"
#include "safety/daily_backup.h"
#include "support/gui_fixture.h"
#include "support/list_driver.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace pylon;
using namespace pylon::test;

namespace {

const QDate kToday{2026, 11, 30};

// Documents enough that the snapshot at quit is still reading when the editor closes.
const char* const kManyDocuments =
    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
    "INSERT INTO Facture SELECT i, '2026-10-01', 9000 + i % 50, 'Client ' || (i % 50), 'Rue ' || i, "
    "'Facture', "
    "0, 0 FROM n;"
    "INSERT INTO DetFact SELECT NumFact, '1', '2', 'Article ' || NumFact, '10,00', '20,00' FROM Facture;"
    "INSERT INTO CliEC SELECT DISTINCT NumCli, 0, 0 FROM Facture;";

class Closing;

struct Ending {
    const char* name;
    // Opens what the user had open when the run ended.
    void (*arrange)(Closing&);
    bool quitter; // "&Quitter" rather than the close box
};

class Closing : public EditorTest, public ::testing::WithParamInterface<Ending> {
  public:
    Ui::Form1& editorUi() const { return ui(); }
    Session& session() const { return *m; }
    DailyBackup* backup = nullptr;
};

void nothing(Closing&) {}

void lineDialog(Closing& t) {
    QListWidget* lines = t.editorUi().List1;
    const QPoint at = lines->visualItemRect(lines->item(0)).center();
    QTest::mouseClick(lines->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(lines->viewport(), Qt::LeftButton, {}, at);
    ASSERT_TRUE(t.session().form5 && QTest::qWaitForWindowExposed(t.session().form5.get()));
}

// The line dialog opened and its line written back into the stored document.
void lineDialogValidated(Closing& t) {
    lineDialog(t);
    if (::testing::Test::HasFatalFailure()) return;
    auto* d = qobject_cast<Form5*>(t.session().form5.get());
    ASSERT_TRUE(d);
    d->ui.Command1->click();
    ASSERT_FALSE(d->isVisible());
}

// "Factures", a row double-clicked: the document goes into the editor and the list stays open.
void listWindow(Closing& t) {
    t.editorUi().Command7->click();
    auto* w = qobject_cast<Form2*>(t.session().form2.get());
    ASSERT_TRUE(w && w->isVisible());
    doubleClickRow(*w->ui.List1, 5);
    ASSERT_TRUE(w->isVisible());
}

void everyWindow(Closing& t) {
    listWindow(t);
    showSearchWindow(t.session());
    showDashboard(t.session());
    QTest::qWait(400); // the search answers a moment after it opens
}

// The day's first snapshot still being written when the user closes the program.
void startSnapshotRunning(Closing& t) {
    t.backup->atStart();
}

TEST_P(Closing, TheFileAloneHoldsEverySave) {
    ASSERT_TRUE(file.exec(QString::fromLatin1(kManyDocuments)));
    start();
    BackupPlan plan;
    plan.database = file.path();
    plan.folder = file.dir() + QStringLiteral("/Sauvegardes");
    plan.today = [] { return kToday; };
    plan.noticeState = file.dir() + QStringLiteral("/state.ini");
    backup = new DailyBackup(*m, plan);
    typeDocument(
        {QString(), "30/11/2026", "7", "Client", "Adresse", {{"1", "2", "Fermeture propre", "1,50", {}}}});
    save();
    ASSERT_EQ(count("DetFact", "Design = 'Fermeture propre'"), "1");

    GetParam().arrange(*this);
    if (HasFatalFailure()) return;
    if (GetParam().quitter)
        ui().Command14->click();
    else
        editor->close();
    // What main does once the application's loop is over.
    endRun(*m);

    // Looked at before anything opens the file again: opening it would fold the log in itself.
    const QFileInfo log(file.path() + QStringLiteral("-wal"));
    EXPECT_TRUE(!log.exists() || log.size() == 0) << log.size() << " bytes left in the log";
    QTemporaryDir elsewhere;
    const QString alone = elsewhere.filePath(QStringLiteral("VelD"));
    ASSERT_TRUE(QFile::copy(file.path(), alone));
    QString dump;
    ASSERT_EQ(runDbTool({QStringLiteral("dump"), alone}, &dump), 0) << dump.toStdString();
    EXPECT_TRUE(dump.contains(QStringLiteral("Fermeture propre")));
    EXPECT_EQ(dumpOf(alone), dumpOf(file.path()));
    if (GetParam().quitter) {
        // The snapshot of "&Quitter" holds the day's work too.
        const QString snapshot =
            plan.folder + QStringLiteral("/VelD-%1.db").arg(kToday.toString(Qt::ISODate));
        EXPECT_EQ(dumpOf(snapshot), dumpOf(alone));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Endings, Closing,
    ::testing::Values(Ending{"QuitterWhileItsSnapshotIsTaken", nothing, true},
                      Ending{"CloseBoxAfterTheLineDialog", lineDialog, false},
                      Ending{"QuitterAfterTheLineDialog", lineDialog, true},
                      Ending{"QuitterAfterALineRewritten", lineDialogValidated, true},
                      Ending{"CloseBoxWithTheListWindowOpen", listWindow, false},
                      Ending{"QuitterWithEveryWindowOpen", everyWindow, true},
                      Ending{"CloseBoxWhileTheStartSnapshotIsTaken", startSnapshotRunning, false}),
    [](const ::testing::TestParamInfo<Ending>& info) { return std::string(info.param.name); });

} // namespace
