#pragma once
// A notice beside the editor that takes neither the keyboard nor the focus from it: a save under way, a
// line being typed or a start going on are never interrupted. It stays until the user closes it; a newer
// notice takes the place of the one shown. It never covers the editor's totals nor its buttons.
#include <QList>
#include <QRect>
#include <QString>

class QFrame;
class QWidget;

namespace pylon {

class Form1;

void showBackupNotice(Form1* editor, const QString& text);
// Such a notice, named `name`: one of each name at a time.
void showNotice(Form1* editor, const QString& name, const QString& text);

// Where a notice of `size` goes: beside the editor's frame, on the screen, where there is room (to its
// right, below, to its left, above); else over the editor, clear of `keepClear`, as low and as far right
// as it can be; else in the screen's lower right corner.
QPoint noticePlace(const QRect& editorFrame, const QSize& size, const QRect& screen,
                   const QList<QRect>& keepClear);
// The frame such a notice is made of, named `name`, with one text named `textName`: a tool window of the
// editor that goes with it and is never the window the keyboard types into.
QFrame* makeQuietNotice(QWidget* editor, const QString& name, const QString& textName);

} // namespace pylon
