#include "output/save_path.h"

#include <QFileDialog>

namespace pylon {

namespace {

SavePathAsker& replacement() {
    static SavePathAsker asker;
    return asker;
}

} // namespace

void setSavePathAsker(SavePathAsker asker) {
    replacement() = std::move(asker);
}

QString askSavePath(QWidget* parent, const QString& title, const QString& proposedPath,
                    const QString& filter) {
    if (replacement()) return replacement()(parent, proposedPath);
    return QFileDialog::getSaveFileName(parent, title, proposedPath, filter);
}

} // namespace pylon
