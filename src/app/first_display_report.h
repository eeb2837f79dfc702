#pragma once
// For the developers' start-up benchmark only (bench/startup_bench.cpp), never for users: with
// PYLON_REPORT_FIRST_DISPLAY set in the environment, the program writes "first display" and its peak
// memory on its output once the editor has been painted with its first document, and quits. Without it
// nothing changes.
class QWidget;

namespace pylon {

void reportFirstDisplayIfAsked(QWidget& editor);

} // namespace pylon
