#pragma once
// Message boxes as the program shows them: modal, no icon, the application's title when none is given.
#include <QString>

class QWidget;

namespace pylon {

inline const QString kAppTitle = QStringLiteral("Gestionnaire de la facture");

// YesNoDefaultNo: for a question whose "Oui" destroys something, so that Enter answers "Non".
enum class MsgStyle { Ok = 0, YesNo = 4, YesNoDefaultNo = 4 + 256 };
enum class MsgAnswer { Ok, Yes, No };

MsgAnswer MsgBox(QWidget* parent, const QString& text, MsgStyle style = MsgStyle::Ok,
                 const QString& title = QString());

} // namespace pylon
