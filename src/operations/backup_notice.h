#pragma once
// A notice beside the editor that takes neither the keyboard nor the focus from it: a save under way, a
// line being typed or a start going on are never interrupted. It stays until the user closes it; a newer
// notice takes the place of the one shown.
#include <QString>

class QWidget;

namespace pylon {

void showBackupNotice(QWidget* editor, const QString& text);

} // namespace pylon
