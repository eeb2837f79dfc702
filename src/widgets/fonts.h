#pragma once

namespace pylon {

// The windows ask for Tahoma and Lucida Console by name. Neither ships with Linux, so this
// registers Wine's Tahoma when it is installed and maps Lucida Console to a fixed-pitch font,
// which the line columns need for their figures to align.
// Call once after the QApplication exists and before any window is built.
void setUpFonts();

} // namespace pylon
