#pragma once
// Where the user wants a file written (a PDF, a ledger): the desktop's save dialog, or, once replaced, a
// function of the caller's (the tests answer it themselves).
#include <QString>
#include <functional>

class QWidget;

namespace pylon {

// Answers with the path chosen, starting from the proposed one; an empty answer cancels.
using SavePathAsker = std::function<QString(QWidget* parent, const QString& proposedPath)>;
// An empty function puts the dialog back.
void setSavePathAsker(SavePathAsker asker);

// The folder the files are proposed in: the user's documents, or the home folder when there is none.
QString documentsFolder();

QString askSavePath(QWidget* parent, const QString& title, const QString& proposedPath,
                    const QString& filter);

} // namespace pylon
