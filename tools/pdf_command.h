#pragma once
// pylon-db pdf: documents of a file printed into a PDF, with the same page as the program's and the
// letterhead of the Pylon.ini beside the file. Needs no display.
#include "command_line.h"

namespace pylon::dbtool {

// Makes its own application object (on the offscreen platform when there is no display) and returns the
// exit code: 0 done, 1 failed with a one-line reason on stderr.
int exportPdf(int argc, char** argv, const Command& c);

} // namespace pylon::dbtool
