#pragma once
// "S&tatistiques": one message with how many documents of each kind, credit notes, clients and suppliers
// the file holds. It only reads.
#include "lists/document_counts.h"

#include <QString>

namespace pylon {

struct Session;

// The ten lines of the message, separated by CR LF.
QString statisticsText(const DocumentCounts& counts);

void Command11_Click(Session& m);

void wireStatistics(Session& m);

} // namespace pylon
