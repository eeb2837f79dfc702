// A run that ends in the middle of an entry: the editor on the file given, an entry begun and typed (two
// whole lines and the first cells of a third), "kept" said on standard output once the entry is in the file
// as a run leaves it while typing; then it goes on until it is killed.
//
//   pylon_entry_worker FILE
#include "app/startup.h"
#include "app/wiring.h"
#include "editing/line_entry.h"
#include "editing/new_document.h"
#include "editor/form1.h"
#include "editor/session.h"
#include "editor/show_document.h"
#include "store/database.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    pylon::Session m;
    m.appPath = QFileInfo(path).absolutePath();
    pylon::Form1 editor(m);
    pylon::wireEditor(m);
    editor.show();
    pylon::Form1_Load(m);
    if (!m.db.isOpen()) return 3;
    pylon::Command5_Click(m);
    pylon::showClient(m, {QStringLiteral("7"), QStringLiteral("Alami"), QStringLiteral("Rue 1"), true});
    pylon::fillLines(m, {{"1", "2", "Vis", "1,50", "3,00"}, {"2", "1", "Clé", "4,00", "4,00"}});
    pylon::resumeLine(m, {"3", "2", "Écrou"});
    pylon::Database reader;
    if (!reader.open(path, pylon::Database::Mode::ReadOnly)) return 4;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        const QVariant n = reader.scalar(QStringLiteral(
            "SELECT count(*) FROM sqlite_master m, pylon_kept_entries k WHERE m.name = 'pylon_kept_entries' "
            "AND k.owner IS NOT NULL AND k.columns LIKE '%Écrou%'"));
        if (n.toInt() != 1) return;
        poll.stop();
        std::printf("kept\n");
        std::fflush(stdout);
    });
    poll.start(50);
    return app.exec();
}
