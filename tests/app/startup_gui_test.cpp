#include "support/gui_fixture.h"

#include <QFile>
#include <QPointer>
#include <QTest>

using namespace pylon;
using namespace pylon::test;

namespace {

int countMessages(const BoxAnswerer& b, const QString& text) {
    int n = 0;
    for (const auto& s : b.shown)
        n += s.text == text;
    return n;
}

const QString kEmpty = QStringLiteral("La base de données est vide.");

} // namespace

using Startup = EditorTest;

TEST_F(Startup, EmptyDatabaseIsSaidOncePerReturnToTheEditor) {
    start();
    ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
    QTest::qWait(100);
    ASSERT_EQ(countMessages(boxes, kEmpty), 1) << "once at start, not again when its own box closes";
    EXPECT_EQ(boxes.shown.front().title, "Message");

    QWidget other;
    other.setObjectName(QStringLiteral("Form4"));
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    editor->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
    QTest::qWait(100);
    EXPECT_EQ(countMessages(boxes, kEmpty), 2) << "again on return from another window, once";
    EXPECT_TRUE(ui().txtNumFact->text().isEmpty());
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

TEST_F(Startup, MissingOrUnreadableFileIsSaidThenTheEditorIsEmpty) {
    for (const bool present : {false, true}) {
        QFile::remove(file.path());
        QFile::remove(file.path() + QStringLiteral("-wal"));
        QFile::remove(file.path() + QStringLiteral("-shm"));
        if (present) {
            QFile f(file.path());
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("this is not a database, it is a letter to a client\n");
        }
        boxes.shown.clear();
        start();
        QTest::qWait(50);
        ASSERT_GE(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].title, "Gestionnaire de la facture");
        EXPECT_EQ(boxes.shown[0].text,
                  QStringLiteral("Base de données introuvable ou illisible :\r\n") + file.path());
        EXPECT_EQ(countMessages(boxes, kEmpty), 0);
        EXPECT_TRUE(ui().txtNumFact->text().isEmpty());
        EXPECT_EQ(ui().txtTotalTTC->text(), "     0,00");
        EXPECT_EQ(QFile::exists(file.path()), present) << "the program never makes a database of its own";
        editor->close();
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
