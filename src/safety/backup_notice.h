#pragma once
// A notice beside the editor that takes neither the keyboard nor the focus from it: a save under way, a
// line being typed or a start going on are never interrupted. It stays until the user closes it; a newer
// notice takes the place of the one shown.
#include <QString>

class QFrame;
class QWidget;

namespace pylon {

void showBackupNotice(QWidget* editor, const QString& text);
// The frame such a notice is made of, named `name`, with one text named `textName`: a tool window of the
// editor that goes with it and is never the window the keyboard types into.
QFrame* makeQuietNotice(QWidget* editor, const QString& name, const QString& textName);

} // namespace pylon
