#include "editing/attach.h"

#include "domain/dates.h"
#include "editing/edit_mode.h"
#include "editing/new_document.h"
#include "editor/form1.h"
#include "editor/session.h"
#include "editor/show_document.h"

namespace pylon {

namespace {

QString text(RecordSet& rs, const char* field) {
    const auto v = rs.Fields(QString::fromLatin1(field));
    if (!v || v->isNull()) return QString();
    if (v->typeId() == QMetaType::QDate) return dates::toScreen(v->toDate());
    return v->toString();
}

} // namespace

void AttachCreditNote(Session& m, const QString& number) {
    Form1& editor = *m.form1;
    RecordSet* f = m.rsFacture.get();
    // Nothing is started for a document that cannot be found: the header would come from another row.
    if (!f || !f->FindFirst(QStringLiteral("NumFact=") + number) || f->NoMatch()) return;
    const QString client = text(*f, "NumCli");
    // The client's flag is shown but a credit note does not change it: the box stays disabled.
    bool onAccount = false;
    if (m.rsCliEC && m.rsCliEC->FindFirst(QStringLiteral("NumCli=") + client) && !m.rsCliEC->NoMatch()) {
        const auto flag = m.rsCliEC->Fields(QStringLiteral("ClientC"));
        onAccount = flag && flag->toBool();
    }
    showHeader(m, {text(*f, "NumFact"),
                   text(*f, "DateFact"),
                   {client, text(*f, "NomCli"), text(*f, "AdrCli"), onAccount}});
    editor.showPointer();
    clearForEntry(m);
    enterEditMode(m, false);
    editor.focusField(EditorField::Number);
    m.CurrentLine = 0;
    if (m.form2) m.form2->hide();
}

} // namespace pylon
