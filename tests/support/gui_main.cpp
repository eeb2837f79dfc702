// The GUI tests run in one process with one application object, on the offscreen platform.
#include "app/translations.h"
#include "widgets/fonts.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The boxes' buttons read as the program's users see them, and the tests answer them by that text.
    if (!pylon::loadFrenchTranslations(app)) return 1;
    pylon::setUpFonts();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
