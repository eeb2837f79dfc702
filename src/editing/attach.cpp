#include "editing/attach.h"

#include "app/module1.h"

namespace pylon {

void AttachCreditNote(Module1& m, const QString& number) {
    Q_UNUSED(number);
    if (m.form2) m.form2->hide();
}

} // namespace pylon
