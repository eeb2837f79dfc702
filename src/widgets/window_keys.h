#pragma once
// Keys every window of the program answers the same way.
#include <QWidget>

#include <functional>

namespace pylon {

// Escape puts the window away exactly as its close box does (its own close handling decides what that
// means: the menu keeps its selection, the line dialog leaves the line unchanged).
void closeOnEscape(QWidget& window);

// Enter or Return anywhere in the window, whichever control has the focus, runs `action`.
void onEnter(QWidget& window, const std::function<void()>& action);

} // namespace pylon
