// What the user meets when the database file fails under the program: read-only, in use by another
// program, a full disk, damaged, gone while the program runs. Each time the program says what happened
// and what to do, writes nothing at all, keeps running and keeps the entry on screen.
#include "editing/form5.h"
#include "editor/form4.h"
#include "module/month_end_store.h"
#include "store/db_errors.h"
#include "support/file_faults.h"
#include "support/gui_fixture.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <sqlite3.h>

using namespace pylon;
using namespace pylon::test;

namespace {

// Refuses every read of one table on the connection it is set on.
int denyReading(void* table, int action, const char* name, const char*, const char*, const char*) {
    const bool refused =
        action == SQLITE_READ && name &&
        QString::fromUtf8(name).compare(*static_cast<QString*>(table), Qt::CaseInsensitive) == 0;
    return refused ? SQLITE_DENY : SQLITE_OK;
}

// A header and `lines` lines with long designations.
TypedDocument nuts(const QString& number, const QString& client, int lines = 2) {
    TypedDocument doc{number, "31/3/05", client, "Société Générale d'Écrous", "12, rue Ibn Sina\nCasablanca",
                      {}};
    for (int i = 0; i < lines; ++i)
        doc.lines.push_back({QString::number(i + 1), "3",
                             QStringLiteral("Écrous de 8 mm, acier zingué, boîte de cent, réf. %1")
                                 .arg(i, 2, 10, QLatin1Char('0')),
                             "10", QString()});
    return doc;
}

class Faults : public EditorTest {
  protected:
    void SetUp() override {
        // Invoices 7 and 8 of client 1 (on account), both dated in March 2005.
        ASSERT_TRUE(file.exec(QStringLiteral(
            "INSERT INTO CliEC VALUES (1, 1, 0);"
            "INSERT INTO Facture VALUES (7, '2005-03-05', 1, 'Alami', 'Rue 1', 'Facture', 0, 0),"
            " (8, '2005-03-09', 1, 'Alami', 'Rue 1', 'Facture', 0, 0);"
            "INSERT INTO DetFact VALUES (7, '1', '1', 'Stylo', '2,00', '2,00'),"
            " (8, '1', '2', 'Cahier', '5,00', '10,00');")));
    }
    void startActive() {
        start();
        editor->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
    }
    // The whole file as canonical text: comparing it before and after shows any change, in any table.
    QString everything() const { return dumpOf(file.path()); }
    const ShownMessage& last() const {
        static const ShownMessage none;
        return boxes.shown.empty() ? none : boxes.shown.back();
    }
    // The message says it and the document typed is still there to be saved again.
    void expectEntryKept(int lines = 2) {
        EXPECT_TRUE(ui().Command10->isEnabled()) << "still entering";
        EXPECT_EQ(ui().List1->count(), lines);
        EXPECT_TRUE(ui().txtPointeur->isVisible());
    }
    // Every command that writes: save, line change, deletion, cancelling, month-end invoice. Each one is
    // refused with a message containing `said`; the file does not change.
    void expectEveryWriteRefused(const QString& said);
    // From now on the program cannot read `table`, as when the disk fails under it; writes still go
    // through. Statements prepared before are prepared again at their next use, and refused too.
    void makeUnreadable(const QString& table) {
        unreadable_ = table;
        sqlite3_set_authorizer(m->db.handle(), denyReading, &unreadable_);
        ASSERT_TRUE(file.exec(QStringLiteral("CREATE TABLE a_change(x); DROP TABLE a_change;")));
    }
    void readableAgain() { sqlite3_set_authorizer(m->db.handle(), nullptr, nullptr); }

    QString unreadable_;
};

void Faults::expectEveryWriteRefused(const QString& said) {
    const QString before = everything();
    typeDocument(nuts(QStringLiteral("60"), QStringLiteral("600")));
    boxes.shown.clear();
    save();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(last().title, "Attention");
    EXPECT_TRUE(
        last().text.startsWith(QStringLiteral("L'enregistrement a échoué, rien n'a été enregistré : ")));
    EXPECT_TRUE(last().text.contains(said)) << last().text.toStdString();
    expectEntryKept();
    QTest::mouseClick(ui().Command10, Qt::LeftButton); // abandons the entry

    // A line of the document shown, changed in the line dialog.
    ui().txtNumFact->setText(QStringLiteral("7"));
    QTest::keyClick(ui().txtNumFact, Qt::Key_Return);
    ASSERT_EQ(ui().List3->count(), 1);
    const QPoint row = ui().List1->visualItemRect(ui().List1->item(0)).center();
    QTest::mouseClick(ui().List1->viewport(), Qt::LeftButton, {}, row);
    QTest::mouseDClick(ui().List1->viewport(), Qt::LeftButton, {}, row);
    auto* d = qobject_cast<Form5*>(m->form5.get());
    ASSERT_TRUE(d && QTest::qWaitForWindowActive(d));
    d->ui.Text3->setText(QStringLiteral("Stylo bleu"));
    boxes.shown.clear();
    QTest::mouseClick(d->ui.Command1, Qt::LeftButton);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(last().text.startsWith(QStringLiteral("La modification n'a pas pu être enregistrée : ")));
    EXPECT_TRUE(last().text.contains(said)) << last().text.toStdString();
    EXPECT_TRUE(d->isVisible()) << "the edit stays in the dialog";
    d->hide();

    boxes.shown.clear();
    boxes.answers = QStringList{QStringLiteral("&Oui")};
    QTest::mouseClick(ui().Command8, Qt::LeftButton);
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_TRUE(last().text.startsWith(QStringLiteral("L'opération n'a pas pu être enregistrée : ")));
    EXPECT_TRUE(last().text.contains(said)) << last().text.toStdString();
    EXPECT_EQ(ui().txtNumFact->text(), "7") << "the document is still shown";

    boxes.shown.clear();
    boxes.answers = QStringList{QStringLiteral("&Oui")};
    QTest::mouseClick(ui().Command17, Qt::LeftButton);
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_TRUE(last().text.startsWith(
        QStringLiteral("L'annulation de la facture N° 7 a échoué, rien n'a été modifié : ")));
    EXPECT_TRUE(last().text.contains(said)) << last().text.toStdString();

    boxes.shown.clear();
    inputs.answers = QStringList{"31", "31/3/2005", "1"};
    QTest::mouseClick(ui().Command16, Qt::LeftButton);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(last().text.startsWith(QStringLiteral("L'opération n'a pas pu être enregistrée : ")));
    EXPECT_TRUE(last().text.contains(said)) << last().text.toStdString();

    EXPECT_EQ(everything(), before);
}

} // namespace

TEST_F(Faults, AReadOnlyFileOrFolderIsBrowsedAndEveryWriteIsRefused) {
    const QString folder = file.dir();
    const auto writable = QFile::permissions(file.path());
    const struct {
        const char* what;
        QFile::Permissions file, folder;
    } cases[] = {
        {"read-only file", QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther,
         QFile::permissions(folder)},
        {"read-only folder", writable, QFile::ReadOwner | QFile::ExeOwner},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        // Left empty by the last reader; with them in place SQLite could write even in a read-only folder.
        for (const char* suffix : {"-wal", "-shm"})
            QFile::remove(file.path() + QLatin1String(suffix));
        const QByteArray stored = fingerprint(file.path());
        const auto folderWas = QFile::permissions(folder);
        ASSERT_TRUE(QFile::setPermissions(file.path(), c.file));
        ASSERT_TRUE(QFile::setPermissions(folder, c.folder));
        {
            AsOrdinaryUser user;
            if (!user.ok()) GTEST_SKIP() << "cannot set aside root's power over file permissions";
            boxes.shown.clear();
            startActive();
            ASSERT_GE(boxes.shown.size(), 1u);
            EXPECT_EQ(
                boxes.shown[0].text,
                QStringLiteral("La base de données est en lecture seule :\r\n") + file.path() +
                    QStringLiteral("\r\nVous pouvez consulter les documents, mais aucune modification ne "
                                   "sera enregistrée. Pour pouvoir enregistrer, vérifiez les droits "
                                   "d'accès de ce fichier et de son dossier (ils doivent permettre "
                                   "l'écriture), puis relancez le programme."));
            // Browsing works as usual.
            EXPECT_EQ(ui().txtNumFact->text(), "7");
            QTest::mouseClick(ui().Command3, Qt::LeftButton);
            EXPECT_EQ(ui().txtNumFact->text(), "8");
            EXPECT_EQ(ui().List3->item(0)->text(), "Cahier");

            expectEveryWriteRefused(QStringLiteral("la base de données est en lecture seule"));
            EXPECT_TRUE(last().text.contains(QStringLiteral("Vérifiez les droits d'accès de ce fichier")));
            editor->close();
            editor.reset();
            m.reset();
        }
        ASSERT_TRUE(QFile::setPermissions(folder, folderWas));
        ASSERT_TRUE(QFile::setPermissions(file.path(), writable));
        EXPECT_EQ(fingerprint(file.path()), stored) << "not one byte of the file written";
    }
}

TEST_F(Faults, AFileInUseByAnotherProgramIsWaitedForThenSaid) {
    startActive();
    m->db.setBusyTimeout(300);
    Database other;
    ASSERT_TRUE(other.open(file.path()));
    ASSERT_TRUE(other.exec(QStringLiteral("BEGIN IMMEDIATE")));

    typeDocument(nuts(QStringLiteral("30"), QStringLiteral("200")));
    QElapsedTimer clock;
    clock.start();
    save();
    EXPECT_GE(clock.elapsed(), 250) << "the save waits for the other program first";
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(
        last().text,
        QStringLiteral("L'enregistrement a échoué, rien n'a été enregistré : la base de données est "
                       "utilisée par un autre programme, qui est en train d'y écrire.\r\nRéessayez dans "
                       "un instant ; si ce message revient, fermez l'autre programme (ou l'autre copie de "
                       "celui-ci) qui utilise le fichier « %1 ».\r\nLe document reste à l'écran : vous "
                       "pouvez réessayer.")
            .arg(file.path()));
    expectEntryKept();
    EXPECT_EQ(count("Facture", "NumFact = 30"), "0");
    EXPECT_EQ(count("CliEC", "NumCli = 200"), "0");

    // The other program is done: the same entry is saved as it stands.
    ASSERT_TRUE(other.exec(QStringLiteral("ROLLBACK")));
    save();
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(count("Facture", "NumFact = 30"), "1");
    EXPECT_EQ(count("DetFact", "NumFact = 30"), "2");
    EXPECT_FALSE(ui().Command10->isEnabled());

    ASSERT_TRUE(other.exec(QStringLiteral("BEGIN IMMEDIATE")));
    expectEveryWriteRefused(QStringLiteral("utilisée par un autre programme"));
    ASSERT_TRUE(other.exec(QStringLiteral("ROLLBACK")));
}

TEST_F(Faults, AFullDiskIsSaidAndTheEntryIsSavedOnceThereIsRoom) {
    // Small pages, so that the lines of one document need a page the file is not allowed to grow by.
    ASSERT_TRUE(file.exec(QStringLiteral(
        "PRAGMA journal_mode=DELETE; PRAGMA page_size=512; VACUUM; PRAGMA journal_mode=WAL;")));
    startActive();
    const QString before = everything();
    const QString pages = m->db.scalar(QStringLiteral("PRAGMA page_count")).toString();
    ASSERT_TRUE(m->db.exec(QStringLiteral("PRAGMA max_page_count = ") + pages));

    typeDocument(nuts(QStringLiteral("30"), QStringLiteral("200"), 8));
    save();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(last().title, "Attention");
    EXPECT_EQ(last().text,
              QStringLiteral("L'enregistrement a échoué, rien n'a été enregistré : le disque est "
                             "plein.\r\nLibérez de la place sur le disque qui contient le fichier "
                             "« %1 », puis réessayez.\r\nLe document reste à l'écran : vous pouvez "
                             "réessayer.")
                  .arg(file.path()));
    EXPECT_EQ(everything(), before) << "neither the client, nor the header, nor the first lines";
    expectEntryKept(8);

    ASSERT_TRUE(m->db.exec(QStringLiteral("PRAGMA max_page_count = 1000000")));
    save();
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(count("DetFact", "NumFact = 30"), "8");
    EXPECT_EQ(count("CliEC", "NumCli = 200"), "1");
    EXPECT_FALSE(ui().Command10->isEnabled());
}

TEST_F(Faults, ADamagedFileIsSaidAtStartAndLeftAsItWas) {
    // Enough documents for several pages, then a page in the middle overwritten with noise.
    ASSERT_TRUE(file.exec(QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 100 UNION ALL SELECT i + 1 FROM n WHERE i < 500) "
        "INSERT INTO Facture SELECT i, '2005-03-05', 1, 'Client ' || i, 'Rue ' || i, 'Facture', 0, 0 FROM n;"
        "INSERT INTO DetFact SELECT NumFact, '1', '1', 'Article ' || NumFact, '1,00', '1,00' FROM Facture "
        "WHERE NumFact >= 100;")));
    const int pages = file.scalar(QStringLiteral("PRAGMA page_count")).toInt();
    const int pageSize = file.scalar(QStringLiteral("PRAGMA page_size")).toInt();
    ASSERT_GT(pages, 10);
    ASSERT_TRUE(damageMiddlePage(file.path(), pages, pageSize));
    const QByteArray damaged = fingerprint(file.path());

    startActive();
    ASSERT_GE(boxes.shown.size(), 1u);
    EXPECT_EQ(
        boxes.shown[0].text,
        QStringLiteral("La base de données est endommagée :\r\n") + file.path() +
            QStringLiteral("\r\nElle n'a pas été ouverte et rien n'y a été écrit. Fermez le programme et "
                           "remplacez ce fichier par une copie de sauvegarde."));
    EXPECT_TRUE(ui().txtNumFact->text().isEmpty());
    EXPECT_EQ(ui().txtTotalTTC->text(), "     0,00");

    // The editor still answers; a save says again why nothing can be written.
    typeDocument(nuts(QStringLiteral("30"), QStringLiteral("200")));
    boxes.shown.clear();
    save();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(last().text.contains(QStringLiteral("est endommagée.\r\nFermez le programme et remplacez ce "
                                                    "fichier par une copie de sauvegarde.")))
        << last().text.toStdString();
    EXPECT_TRUE(last().text.endsWith(QStringLiteral("notez-le avant de fermer le programme.")));
    expectEntryKept();

    editor->close();
    EXPECT_EQ(fingerprint(file.path()), damaged) << "nothing written over the damaged file";
    checkFileAfterwards = false;
}

TEST_F(Faults, AFileRenamedOrDeletedWhileRunningIsNotWrittenInto) {
    startActive();
    const QString away = file.path() + QStringLiteral(".ancien");
    ASSERT_TRUE(QFile::rename(file.path(), away));
    const qint64 changes = m->db.totalChanges();
    typeDocument(nuts(QStringLiteral("30"), QStringLiteral("200")));
    save();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(last().text,
              QStringLiteral("L'enregistrement a échoué, rien n'a été enregistré : le fichier de la base de "
                             "données « %1 » a disparu depuis l'ouverture du programme (supprimé, renommé, "
                             "déplacé ou remplacé).\r\nRemettez le fichier à sa place, puis relancez le "
                             "programme.\r\nLe document reste à l'écran : notez-le avant de fermer le "
                             "programme.")
                  .arg(file.path()));
    EXPECT_EQ(m->db.totalChanges(), changes) << "not a row written, anywhere";
    expectEntryKept();

    // Put back where it was, the file takes the same entry.
    ASSERT_TRUE(QFile::rename(away, file.path()));
    save();
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(count("DetFact", "NumFact = 30"), "2");

    // Deleted, then replaced by another file of the same name: neither is written into.
    typeDocument(nuts(QStringLiteral("31"), QStringLiteral("201")));
    ASSERT_TRUE(QFile::remove(file.path()));
    save();
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_TRUE(last().text.contains(QStringLiteral("a disparu depuis l'ouverture du programme")));
    expectEntryKept();
    TempDb replacement;
    ASSERT_TRUE(QFile::copy(replacement.path(), file.path()));
    const QByteArray untouched = fingerprint(file.path());
    save();
    ASSERT_EQ(boxes.shown.size(), 3u);
    EXPECT_TRUE(last().text.contains(QStringLiteral("a disparu depuis l'ouverture du programme")));
    EXPECT_EQ(fingerprint(file.path()), untouched);
    EXPECT_EQ(m->db.totalChanges(), changes + 2 + 1 + 1 + 1)
        << "only document 30, its client, its two lines and the note that its totals are to be kept";
    editor->close();
    checkFileAfterwards = false;
}

TEST_F(Faults, ASaveThatCannotLookTheNumberOrThePartyUpWritesNothing) {
    startActive();
    // An unread header could hide the number; an unread party row would get a second row.
    for (const char* table : {"Facture", "CliEC"}) {
        SCOPED_TRACE(table);
        typeDocument(nuts(QStringLiteral("30"), QStringLiteral("1")));
        boxes.shown.clear();
        makeUnreadable(QString::fromLatin1(table));
        save();
        readableAgain();
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_TRUE(
            last().text.startsWith(QStringLiteral("L'enregistrement a échoué, rien n'a été enregistré : ")))
            << last().text.toStdString();
        expectEntryKept();
        EXPECT_EQ(count("Facture", "NumFact = 30"), "0");
        EXPECT_EQ(count("CliEC", "NumCli = 1"), "1");
        QTest::mouseClick(ui().Command10, Qt::LeftButton);
    }
}

TEST_F(Faults, AMonthEndInvoiceThatCannotLookItsNumberUpWritesNothing) {
    startActive();
    const month_end::NewInvoice doc{
        7, QDate(2005, 3, 31), 1, QStringLiteral("Alami"), QStringLiteral("Rue 1"), true};
    const std::vector<month_end::Line> lines(1);
    makeUnreadable(QStringLiteral("Facture"));
    const WriteResult written = month_end::writeInvoice(m->db, doc, lines);
    readableAgain();
    EXPECT_EQ(written.kind, WriteResult::Failed) << "an unread header could hide number 7";
    EXPECT_EQ(count("Facture", "NumFact = 7"), "1");
}

TEST_F(Faults, AFileThatCannotBeReadIsNotSaidEmpty) {
    startActive();
    makeUnreadable(QStringLiteral("Facture"));
    boxes.shown.clear();
    // Back from the menu, the editor is the active window again.
    Form4* menu = openMenu(*m);
    ASSERT_TRUE(menu);
    QTest::mouseClick(menu->ui.Command2, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
    QTest::qWait(50);
    readableAgain();
    EXPECT_TRUE(boxes.shown.empty()) << boxes.shown.front().text.toStdString();
}
