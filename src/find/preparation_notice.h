#pragma once
// What the user sees while the file is being prepared (preparation.h): a small notice beside the editor,
// which takes neither the keyboard nor the focus, saying how far the work has gone; and the windows whose
// figures were waiting for it, brought up to date when it ends.
#include "module/preparation.h"

#include <QString>

class QWidget;

namespace pylon {

struct Session;

// "Préparation de la base : 37 %" while the file is read and its indexes made, "Calcul des totaux :
// 120 000 / 1 000 000 documents" while the documents' totals are computed.
QString preparationText(const PreparationProgress& p);
void showPreparationNotice(QWidget* editor, const PreparationProgress& p);
void hidePreparationNotice(QWidget* editor);
// The dashboard and the search window, when open, read their figures again.
void figuresReady(Session& m);

} // namespace pylon
