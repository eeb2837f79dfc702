#include "editor/form4.h"
#include "store/database.h"
#include "support/file_faults.h"
#include "support/gui_fixture.h"

#include <QFile>
#include <QPointer>
#include <QTest>

using namespace pylon;
using namespace pylon::test;

namespace {

const QString kEmpty = QStringLiteral("La base de données est vide.");

} // namespace

using Startup = EditorTest;

TEST_F(Startup, EmptyDatabaseIsSaidOncePerReturnToTheEditor) {
    start();
    ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
    QTest::qWait(100);
    ASSERT_EQ(boxes.said(kEmpty), 1) << "once at start, not again when its own box closes";
    EXPECT_EQ(boxes.shown.front().title, "Message");

    // "&Menu", then the menu's "&Annuler": back in the editor.
    Form4* menu = openMenu(*m);
    ASSERT_TRUE(menu);
    QTest::mouseClick(menu->ui.Command2, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
    QTest::qWait(100);
    EXPECT_EQ(boxes.said(kEmpty), 2) << "again on return from another window, once";
    EXPECT_TRUE(ui().txtNumFact->text().isEmpty());

    // The user works in another program, then clicks the editor again. Qt tells the application when none
    // of its windows has the keyboard any more, and that it has it again; `elsewhere` stands for the
    // other program's window.
    QWidget elsewhere;
    elsewhere.show();
    elsewhere.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
    for (const Qt::ApplicationState state : {Qt::ApplicationInactive, Qt::ApplicationActive}) {
        QApplicationStateChangeEvent change(state);
        QCoreApplication::sendEvent(qApp, &change);
    }
    editor->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
    QTest::qWait(100);
    EXPECT_EQ(boxes.said(kEmpty), 2) << "not on return from another program";
}

TEST_F(Startup, DocumentsOfOtherKindsOnlyGiveNoMessage) {
    ASSERT_TRUE(
        file.exec(QStringLiteral("INSERT INTO CliEC VALUES (1, 0, 0);"
                                 "INSERT INTO Facture VALUES (1, '2026-12-07', 1, 'A', 'B', 'Devis', 0, 0);"
                                 "INSERT INTO DetFact VALUES (1, ' ', '1', 'x', '1,00', '1,00');")));
    start();
    ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
    QTest::qWait(50);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(ui().txtNumFact->text().isEmpty());
}

TEST_F(Startup, MissingOrUnreadableFileIsSaidThenTheEditorIsEmptyAndTheFileUntouched) {
    enum class Found { Nothing, Letter, EmptyFile, OtherProgramsDatabase };
    for (const Found found :
         {Found::Nothing, Found::Letter, Found::EmptyFile, Found::OtherProgramsDatabase}) {
        SCOPED_TRACE(int(found));
        for (const char* suffix : {"", "-wal", "-shm"})
            QFile::remove(file.path() + QLatin1String(suffix));
        if (found == Found::Letter || found == Found::EmptyFile) {
            QFile f(file.path());
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            if (found == Found::Letter) f.write("this is not a database, it is a letter to a client\n");
        }
        if (found == Found::OtherProgramsDatabase) {
            // Another program's notes, in a rollback journal: not a byte of it may change.
            Database other;
            ASSERT_TRUE(other.open(file.path(), Database::Mode::Create));
            ASSERT_TRUE(other.exec(QStringLiteral("PRAGMA journal_mode=DELETE; CREATE TABLE Notes(t TEXT);"
                                                  "INSERT INTO Notes VALUES ('appeler M. Alami');")));
        }
        const bool present = found != Found::Nothing;
        const QByteArray before = fingerprint(file.path());
        boxes.shown.clear();
        start();
        QTest::qWait(50);
        ASSERT_GE(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].title, "Gestionnaire de la facture");
        EXPECT_EQ(boxes.shown[0].text,
                  QStringLiteral("Base de données introuvable ou illisible :\r\n") + file.path());
        EXPECT_EQ(boxes.said(kEmpty), 0);
        EXPECT_TRUE(ui().txtNumFact->text().isEmpty());
        EXPECT_EQ(ui().txtTotalTTC->text(), "     0,00");
        EXPECT_EQ(QFile::exists(file.path()), present) << "the program never makes a database of its own";
        editor->close();
        EXPECT_EQ(fingerprint(file.path()), before) << "a file refused is left as it was";
    }
    checkFileAfterwards = false;
}

TEST_F(Startup, ClosingTheEditorClosesTheOtherWindowsAndReleasesTheFile) {
    start();
    m->form4 = std::make_unique<QWidget>();
    QPointer<QWidget> menu = m->form4.get();
    menu->show();
    editor->close();
    EXPECT_FALSE(menu) << "the menu window went with the editor";
    EXPECT_FALSE(m->db.isOpen());
    EXPECT_FALSE(m->rsDoc);
}
