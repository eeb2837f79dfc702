#pragma once
// The program speaks French: the standard buttons of the message and input boxes, and the other texts Qt
// draws itself, come from Qt's own French translations (Debian package qt6-translations-l10n).
class QCoreApplication;

namespace pylon {

// Loads Qt's French texts into the application; call once, right after the application object exists and
// before any window is built. Returns false, after a warning, when the translations are not installed:
// the boxes then keep Qt's English buttons.
bool loadFrenchTranslations(QCoreApplication& app);

} // namespace pylon
