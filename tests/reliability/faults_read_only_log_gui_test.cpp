// A folder that may not be written, holding a file whose last save still waits in its log (the program was
// stopped before it could copy it into the file, then the folder was made read-only). SQLite cannot read
// that log without writing beside it: the program says so rather than show the documents as they were
// before that save.
#include "store/database.h"
#include "support/file_faults.h"
#include "support/gui_fixture.h"

#include <QFile>
#include <sqlite3.h>

using namespace pylon;
using namespace pylon::test;

using FaultsReadOnlyFolder = EditorTest;

TEST_F(FaultsReadOnlyFolder, ASaveWaitingInTheLogIsSaidRatherThanHidden) {
    // Invoice 7 in the file, invoice 8 still in the log.
    const QString invoice =
        QStringLiteral("INSERT INTO Facture VALUES (%1, '2005-03-05', 1, 'Alami', 'Rue 1', 'Facture', 0, 0);"
                       "INSERT INTO DetFact VALUES (%1, '1', '1', 'Stylo', '2,00', '2,00');");
    ASSERT_TRUE(file.exec(QStringLiteral("INSERT INTO CliEC VALUES (1, 1, 0);") + invoice.arg(7)));
    {
        Database w;
        ASSERT_TRUE(w.open(file.path()));
        ASSERT_TRUE(w.exec(QStringLiteral("PRAGMA wal_autocheckpoint=0;") + invoice.arg(8)));
        sqlite3_db_config(w.handle(), SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    }
    // The index SQLite reads the log through is gone, as a restart of the machine leaves it.
    ASSERT_TRUE(QFile::remove(file.path() + QStringLiteral("-shm")));
    const QString log = file.path() + QStringLiteral("-wal");
    const QByteArray stored = fingerprint(file.path()), logged = fingerprint(log);
    const auto folderWas = QFile::permissions(file.dir());
    ASSERT_TRUE(QFile::setPermissions(file.dir(), QFile::ReadOwner | QFile::ExeOwner));
    {
        AsOrdinaryUser user;
        if (!user.ok()) GTEST_SKIP() << "cannot set aside root's power over file permissions";
        start();
        ASSERT_EQ(boxes.shown.size(), 1u) << "said once, and not said to be empty";
        EXPECT_EQ(
            boxes.shown[0].text,
            QStringLiteral("La base de données n'a pas été ouverte et rien n'y a été écrit : les dernières "
                           "modifications de la base de données « %1 » sont encore dans son journal "
                           "« VelD-wal », qui ne peut pas être lu : son dossier est en lecture seule. "
                           "Sans elles, les documents montrés seraient anciens.\r\nDonnez le droit "
                           "d'écriture sur ce dossier, puis relancez le programme.")
                .arg(file.path()));
        EXPECT_TRUE(ui().txtNumFact->text().isEmpty()) << "no older documents shown";
        editor->close();
    }
    ASSERT_TRUE(QFile::setPermissions(file.dir(), folderWas));
    EXPECT_EQ(fingerprint(file.path()), stored);
    EXPECT_EQ(fingerprint(log), logged);
}
