#include "editing/new_document.h"

#include "domain/dates.h"
#include "editing/edit_mode.h"
#include "editing/line_entry.h"
#include "editing/numbering.h"
#include "editor/form1.h"
#include "editor/session.h"
#include "editor/show_document.h"

#include <QDate>

namespace pylon {

void clearForEntry(Session& m) {
    Ui::Form1& ui = m.form1->ui;
    for (QListWidget* l : {ui.List1, ui.List2, ui.List3, ui.List4, ui.List5})
        l->clear();
    ++m.linesFilled;
    const auto zero = Module1::ShownTotal::of(QStringLiteral("0"));
    m.totals = {zero, zero, zero};
    showTotals(m);
    ui.txtSomme->clear();
}

void Command5_Click(Session& m) {
    beginNewDocument(m);
}

void beginNewDocument(Session& m) {
    Ui::Form1& ui = m.form1->ui;
    if (m.currentKind() == DocKind::CreditNote) {
        if (m.showAttachList) m.showAttachList();
        ui.Label15->hide();
        ui.Label17->hide();
        // During a credit note's entry the lines and the pointer stay as they are (a pick does nothing
        // until the entry ends): typing goes on at the row under the pointer, in all five columns alike.
        if (!m.editMode()) m.CurrentLine = 0;
        return;
    }
    ui.txtNumFact->setText(QString::number(nextNumber(m, m.currentKind())));
    ui.txtDateFact->setText(dates::toScreen(QDate::currentDate()));
    clearForEntry(m);
    ui.txtNumCli->clear();
    ui.txtNomCli->clear();
    ui.txtAdrCli->clear();
    pointer::park(m);
    ui.txtPointeur->show();
    ui.Check1->setChecked(false);
    enterEditMode(m, true);
    ui.txtPointeur->setFocus();
    ui.Label15->hide();
    ui.Label17->hide();
    m.CurrentLine = 0;
}

void wireNewDocument(Session& m) {
    Session* mp = &m;
    QObject::connect(m.form1->ui.Command5, &QPushButton::clicked, m.form1, [mp] { Command5_Click(*mp); });
}

} // namespace pylon
