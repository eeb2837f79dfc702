#include "widgets/fonts.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QString>

namespace pylon {

namespace {

// Wine's own Tahoma (Debian package fonts-wine): regular and bold.
constexpr const char* kTahomaFiles[] = {"/usr/share/wine/fonts/tahoma.ttf",
                                        "/usr/share/wine/fonts/tahomabd.ttf"};

bool loadTahoma() {
    bool loaded = false;
    for (const char* path : kTahomaFiles) {
        if (!QFile::exists(QString::fromLatin1(path))) continue;
        const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(path));
        if (id != -1 && QFontDatabase::applicationFontFamilies(id).contains(QStringLiteral("Tahoma")))
            loaded = true;
    }
    return loaded;
}

QString fixedPitchFamily() {
    const QString liberation = QStringLiteral("Liberation Mono");
    if (QFontDatabase::families().contains(liberation)) return liberation;
    return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
}

} // namespace

void setUpFonts() {
    if (!loadTahoma()) QFont::insertSubstitution(QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Lucida Console"), fixedPitchFamily());
}

} // namespace pylon
