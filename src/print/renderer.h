#pragma once
// Paints documents on a printer or a PDF writer, A4 portrait, each from a new page: the letterhead, the
// kind's title with the number and date, the client, the lines with the table's header on every page and
// no line split across two, the totals and the total in words once on the last page, "Page n / N" and
// the shop's identifiers at every foot, "ANNULÉE" across each page of a cancelled document.
#include "print/identity.h"
#include "print/printed_document.h"

#include <QImage>
#include <QString>
#include <vector>

class QPagedPaintDevice;

namespace pylon::print {

// The identity with its logo read once for all the pages; a logo that cannot be read is left out.
struct Letterhead {
    Identity identity;
    QImage logo;
};
Letterhead letterheadFrom(const QString& iniPath);

// The number of pages painted; 0 with *error when the device refused a page.
int paintDocuments(QPagedPaintDevice& device, const std::vector<PrintedDocument>& docs,
                   const Letterhead& head, QString* error = nullptr);

} // namespace pylon::print
