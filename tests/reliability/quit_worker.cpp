// The program's last moments, to be killed in: the editor on the file given, documents saved through its
// connection (each said on standard output once committed), then "&Quitter" and the end of the run as the
// program has them: the snapshot of the quit, then the log folded into the file.
//
//   pylon_quit_worker FILE DOCUMENTS
// prints "saved N" per document, "quitting" just before "&Quitter", "ended" once the run is over.
#include "app/startup.h"
#include "app/wiring.h"
#include "commands/quit.h"
#include "editor/form1.h"
#include "editor/session.h"
#include "safety/daily_backup.h"
#include "store/database.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    const int documents = QString::fromLatin1(argv[2]).toInt();
    pylon::Session m;
    m.appPath = QFileInfo(path).absolutePath();
    pylon::Form1 editor(m);
    pylon::wireEditor(m);
    editor.show();
    pylon::Form1_Load(m);
    if (!m.db.isOpen()) return 3;
    pylon::BackupPlan plan = pylon::programPlan(m);
    plan.noticeState.clear();
    new pylon::DailyBackup(m, plan);
    for (int i = 1; i <= documents; ++i) {
        const qint64 n = 900000 + i;
        pylon::Transaction t(m.db);
        const bool written =
            m.db.exec(QStringLiteral("INSERT INTO CliEC VALUES (?, 0, 0)"), {n}) &&
            m.db.exec(
                QStringLiteral("INSERT INTO Facture VALUES (?, '2026-11-30', ?, 'Fin de journée', 'Rue', "
                               "'Facture', 0, 0)"),
                {n, n}) &&
            m.db.exec(
                QStringLiteral("INSERT INTO DetFact VALUES (?, '1', '2', 'Dernière vente', '4,00', '8,00')"),
                {n});
        if (!written || !t.commit()) return 4;
        std::printf("saved %lld\n", static_cast<long long>(n));
        std::fflush(stdout);
    }
    QTimer::singleShot(0, [&m] {
        std::printf("quitting\n");
        std::fflush(stdout);
        pylon::quitProgram(m);
    });
    const int code = app.exec();
    pylon::endRun(m);
    std::printf("ended\n");
    std::fflush(stdout);
    return code;
}
