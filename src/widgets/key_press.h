#pragma once
// Key presses as the handlers of the program see them: one character code per typed key (13 for Enter,
// 8 for Backspace). A handler may set the code to 0 to drop the key, or to another character to type
// that one instead. Keys that type nothing (arrows, Tab, shortcuts with Ctrl or Alt) never reach it.
#include <functional>

class QWidget;

namespace pylon {

using KeyPressHandler = std::function<void(int& keyAscii)>;

void onKeyPress(QWidget* widget, KeyPressHandler handler);

} // namespace pylon
