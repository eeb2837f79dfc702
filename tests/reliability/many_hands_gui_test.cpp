// Several hands on one file at once, as on a busy day: the editor saving through its windows with the
// list window left open, `pylon-db backup` and `pylon-db journal` run again and again, and another
// program (the sqlite3 shell) writing documents of its own with every form of write. Afterwards the file
// passes `pylon-db check`, every document any of them saved is there, and the log stayed short.
#include "app/startup.h"
#include "browse/form2.h"
#include "browse/list_column.h"
#include "support/gui_fixture.h"
#include "support/list_driver.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>
#include <vector>

using namespace pylon;
using namespace pylon::test;

namespace {

constexpr int kShellDocuments = 200;
constexpr int kEditorDocuments = 6;
// Three other programs read and write without cease here, and a log cannot start again from the top while
// any of them reads it: the bound is looser than the list's own test (8 MB), and still far below what a list
// holding the log back lets it reach.
constexpr qint64 kLogBound = 16 * 1024 * 1024;

// How the other program writes each of its documents: %1 is the document's number. Each ends with the
// document holding two lines "Coquille %1" and "Suite %1" under client 88.
struct OtherProgram {
    const char* name;
    const char* write;
};

// Plain INSERT, UPDATE and DELETE, and INSERT OR REPLACE (which the tables, without unique keys, take as
// an insert).
const OtherProgram kPlain{
    "PlainAndReplace",
    "BEGIN;"
    "INSERT INTO Facture VALUES (%1, '2026-11-30', 88, 'Autre programme', 'Rue', 'Facture', 0, 0);"
    "INSERT INTO DetFact VALUES (%1, '1', '1', 'Brouillon', '5,00', '5,00');"
    "UPDATE DetFact SET Design = 'Coquille %1' WHERE NumFact = %1 AND NB = '1';"
    "INSERT INTO DetFact VALUES (%1, '9', '1', 'A effacer', '1,00', '1,00');"
    "DELETE FROM DetFact WHERE NumFact = %1 AND NB = '9';"
    "INSERT OR REPLACE INTO DetFact VALUES (%1, '2', '2', 'Suite %1', '2,50', '5,00');"
    "COMMIT;\n"};

// The conflict clauses that stand in for the kept totals' own on a second write to one document. These
// pass once the kept totals' triggers leave them their own conflict handling.
const OtherProgram kConflictClauses{
    "ConflictClauses",
    "BEGIN;"
    "INSERT OR ABORT INTO Facture VALUES (%1, '2026-11-30', 88, 'Autre programme', 'Rue', 'Facture', 0, 0);"
    "INSERT OR ABORT INTO DetFact VALUES (%1, '1', '1', 'Coquille %1', '5,00', '5,00');"
    "INSERT OR FAIL INTO DetFact VALUES (%1, '2', '2', 'Suite %1', '2,50', '5,00');"
    "INSERT OR ROLLBACK INTO DetFact VALUES (%1, '3', '1', 'A effacer', '1,00', '1,00');"
    "DELETE FROM DetFact WHERE NumFact = %1 AND NB = '3';"
    "COMMIT;\n"};

// A command of the database tool run again and again while the others work, with a pause between two
// runs: two programs that read without ever stopping would keep any log from starting again, whatever
// this program does.
class Repeated {
  public:
    explicit Repeated(std::function<QStringList(int)> args) : args_(std::move(args)) {}
    void start() {
        process_ = std::make_unique<QProcess>();
        process_->setProcessChannelMode(QProcess::MergedChannels);
        QObject::connect(process_.get(), &QProcess::finished, [this](int code, QProcess::ExitStatus status) {
            if (status != QProcess::NormalExit || code != 0)
                failures_ << QString::fromUtf8(process_->readAll());
            ++runs_;
            if (!stopping_) QTimer::singleShot(kPause, [this] { start(); });
        });
        process_->start(QStringLiteral(PYLON_DB_TOOL), args_(runs_));
    }
    void stop() {
        stopping_ = true;
        if (process_) process_->waitForFinished(60000);
    }
    int runs() const { return runs_; }
    QStringList failures() const { return failures_; }

  private:
    static constexpr int kPause = 100; // milliseconds
    std::function<QStringList(int)> args_;
    std::unique_ptr<QProcess> process_;
    int runs_ = 0;
    bool stopping_ = false;
    QStringList failures_;
};

class ManyHands : public EditorTest, public ::testing::WithParamInterface<OtherProgram> {
  protected:
    qint64 logSize() const { return QFileInfo(file.path() + QStringLiteral("-wal")).size(); }
};

TEST_P(ManyHands, NothingIsLost) {
    ASSERT_TRUE(file.exec(QStringLiteral(
        "INSERT INTO CliEC VALUES (88, 0, 0);"
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
        "INSERT INTO Facture SELECT i, '2026-10-01', 88, 'Autre programme', 'Rue', 'Facture', 0, 0 FROM n;"
        "INSERT INTO DetFact SELECT NumFact, '1', '2', 'Article', '10,00', '20,00' FROM Facture;")));
    start();
    // The list window stays open, a row double-clicked.
    ui().Command7->click();
    auto* list = qobject_cast<Form2*>(m->form2.get());
    ASSERT_TRUE(list && list->isVisible());
    doubleClickRow(*list->ui.List1, 3);
    list->findChild<QTimer*>(QStringLiteral("logWatch"))->setInterval(50);

    QTemporaryDir copies;
    Repeated backups([&](int i) {
        return QStringList{QStringLiteral("backup"), file.path(),
                           copies.filePath(QStringLiteral("copie-%1.db").arg(i))};
    });
    Repeated journals([&](int i) {
        return QStringList{
            QStringLiteral("journal"), file.path(),
            QStringLiteral("--from"),  QStringLiteral("2026-01-01"),
            QStringLiteral("--to"),    QStringLiteral("2026-12-31"),
            QStringLiteral("--csv"),   copies.filePath(QStringLiteral("journal-%1.csv").arg(i))};
    });
    backups.start();
    journals.start();

    QString script = QStringLiteral(".bail on\n.timeout 10000\n");
    for (int i = 0; i < kShellDocuments; ++i)
        script += QString::fromLatin1(GetParam().write).arg(700001 + i);
    QProcess shell;
    shell.setProcessChannelMode(QProcess::MergedChannels);
    shell.start(QStringLiteral("sqlite3"), {file.path()});
    ASSERT_TRUE(shell.waitForStarted());
    shell.write(script.toUtf8());
    shell.closeWriteChannel();

    qint64 longest = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] { longest = std::max(longest, logSize()); });
    watch.start(5);
    for (int i = 0; i < kEditorDocuments; ++i) {
        typeDocument({QString::number(5001 + i),
                      "30/11/2026",
                      "7",
                      "Client du jour",
                      "Adresse",
                      {{"1", "2", QStringLiteral("Saisie %1").arg(5001 + i), "1,50", {}}}});
        save();
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return shell.state() == QProcess::NotRunning; }, 60000));
    backups.stop();
    journals.stop();
    watch.stop();
    EXPECT_EQ(shell.exitCode(), 0) << shell.readAll().toStdString();
    EXPECT_TRUE(backups.failures().isEmpty()) << backups.failures().join('\n').toStdString();
    EXPECT_TRUE(journals.failures().isEmpty()) << journals.failures().join('\n').toStdString();
    EXPECT_GT(backups.runs(), 0);
    EXPECT_LT(longest, kLogBound);
    ASSERT_TRUE(list->isVisible());

    editor->close();
    endRun(*m);
    QString out;
    EXPECT_EQ(runDbTool({QStringLiteral("check"), file.path()}, &out), 0) << out.toStdString();
    EXPECT_EQ(count("DetFact", "Design LIKE 'Saisie %'"), QString::number(kEditorDocuments));
    EXPECT_EQ(count("Facture", "NumFact BETWEEN 5001 AND 5006"), QString::number(kEditorDocuments));
    EXPECT_EQ(count("Facture", "NumFact > 700000"), QString::number(kShellDocuments));
    EXPECT_EQ(count("DetFact", "NumFact > 700000 AND Design = 'Coquille ' || NumFact"),
              QString::number(kShellDocuments));
    EXPECT_EQ(count("DetFact", "NumFact > 700000 AND Design = 'Suite ' || NumFact"),
              QString::number(kShellDocuments));
    EXPECT_EQ(count("DetFact", "NumFact > 700000"), QString::number(2 * kShellDocuments));
    // The last copy taken while everyone wrote is whole.
    const QString last = copies.filePath(QStringLiteral("copie-%1.db").arg(backups.runs() - 1));
    EXPECT_EQ(runDbTool({QStringLiteral("check"), last}, &out), 0) << out.toStdString();
}

INSTANTIATE_TEST_SUITE_P(OtherPrograms, ManyHands, ::testing::Values(kPlain, kConflictClauses),
                         [](const ::testing::TestParamInfo<OtherProgram>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
