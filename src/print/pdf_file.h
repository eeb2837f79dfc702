#pragma once
// Documents written into a PDF file, A4. The file is replaced whole or not at all: a failure halfway
// leaves whatever was there before.
#include "print/renderer.h"

#include <QString>
#include <vector>

namespace pylon::print {

// The number of pages written; 0 with *error (in the user's words) when the file could not be written.
int writePdf(const QString& path, const std::vector<PrintedDocument>& docs, const Letterhead& head,
             QString* error = nullptr);

} // namespace pylon::print
