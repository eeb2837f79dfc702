#include "output/save_path.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

namespace pylon {

namespace {

SavePathAsker& replacement() {
    static SavePathAsker asker;
    return asker;
}

} // namespace

QString documentsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

void setSavePathAsker(SavePathAsker asker) {
    replacement() = std::move(asker);
}

QString askSavePath(QWidget* parent, const QString& title, const QString& proposedPath,
                    const QString& filter) {
    if (replacement()) return replacement()(parent, proposedPath);
    return QFileDialog::getSaveFileName(parent, title, proposedPath, filter);
}

} // namespace pylon
