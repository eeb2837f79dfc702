#include "print/pdf_file.h"

#include <QPdfWriter>
#include <QSaveFile>

namespace pylon::print {

int writePdf(const QString& path, const std::vector<PrintedDocument>& docs, const Letterhead& head,
             QString* error) {
    const auto fail = [&](const QString& why) {
        if (error) *error = why;
        return 0;
    };
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return fail(file.errorString());
    int pages = 0;
    {
        // The writer finishes the file when it is destroyed, before the file is committed.
        QPdfWriter writer(&file);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setCreator(QStringLiteral("Pylon Beta"));
        if (docs.size() == 1) writer.setTitle(docs.front().fileStem);
        pages = paintDocuments(writer, docs, head, error);
    }
    if (pages == 0) {
        file.cancelWriting();
        return 0;
    }
    if (!file.commit()) return fail(file.errorString());
    return pages;
}

} // namespace pylon::print
