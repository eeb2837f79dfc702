#include "app/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QtDebug>

namespace pylon {

bool loadFrenchTranslations(QCoreApplication& app) {
    // Owned by the application, which must keep it as long as texts are looked up.
    auto* qt = new QTranslator(&app);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!qt->load(QLocale(QLocale::French, QLocale::France), QStringLiteral("qtbase"), QStringLiteral("_"),
                  folder)) {
        qWarning("Qt's French translations are missing from %s (Debian package qt6-translations-l10n): "
                 "the boxes keep their English buttons.",
                 qPrintable(folder));
        delete qt;
        return false;
    }
    QCoreApplication::installTranslator(qt);
    return true;
}

} // namespace pylon
