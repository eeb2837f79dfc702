// The program: the editor window on the database file beside the executable.
#include "app/first_display_report.h"
#include "app/startup.h"
#include "app/translations.h"
#include "app/wiring.h"
#include "editor/form1.h"
#include "editor/session.h"
#include "safety/daily_backup.h"
#include "widgets/activation.h"
#include "widgets/fonts.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pylon Beta"));
    pylon::loadFrenchTranslations(app);
    pylon::setUpFonts();
    pylon::watchActivations();

    pylon::Session m;
    m.appPath = QApplication::applicationDirPath();
    pylon::Form1 editor(m);
    pylon::wireEditor(m);
    // Centred on the screen when first shown.
    if (const QScreen* screen = QApplication::primaryScreen())
        editor.move(screen->availableGeometry().center() - editor.rect().center());
    pylon::reportFirstDisplayIfAsked(editor);
    editor.show();
    pylon::Form1_Load(m);
    // Here rather than in the loading the tests share: only the program itself takes the day's snapshot.
    pylon::startDailyBackups(m);
    const int code = app.exec();
    // Whatever way the run ended, the day's saves are in the file itself when the program is gone.
    pylon::endRun(m);
    return code;
}
