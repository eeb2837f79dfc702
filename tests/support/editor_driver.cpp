#include "support/editor_driver.h"

#include "editor/form1.h"
#include "editor/form4.h"
#include "editor/session.h"
#include "editor/show_document.h"
#include "support/form1_access.h"
#include "support/temp_db.h"
#include "support/typing.h"

#include <QTest>
#include <gtest/gtest.h>

namespace pylon::test {

void typeDocument(Form1& editor, const TypedDocument& doc) {
    Ui::Form1& ui = Form1TestAccess::ui(editor);
    QTest::mouseClick(ui.Command5, Qt::LeftButton);
    if (!doc.number.isEmpty()) ui.txtNumFact->setText(doc.number);
    ui.txtDateFact->setText(doc.date);
    ui.txtNumCli->setText(doc.client);
    ui.txtNomCli->setText(doc.name);
    ui.txtAdrCli->setPlainText(doc.address);
    for (const QStringList& line : doc.lines)
        typeLine(ui.txtPointeur, line);
}

void save(Form1& editor) {
    QTest::mouseClick(Form1TestAccess::ui(editor).Command6, Qt::LeftButton);
}

Form4* openMenu(Session& m) {
    QTest::mouseClick(Form1TestAccess::ui(*m.form1).Command15, Qt::LeftButton);
    auto* menu = qobject_cast<Form4*>(m.form4.get());
    if (!menu || !QTest::qWaitForWindowActive(menu)) {
        ADD_FAILURE() << "the menu did not become active";
        return nullptr;
    }
    return menu;
}

void pickOption(Form4& menu, DocKind kind) {
    QAbstractButton* option = menu.ui.Options->button(static_cast<int>(kind));
    // On the round button itself: the caption does not fill the whole width of the option.
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(7, option->height() / 2));
}

void chooseKind(Session& m, DocKind kind) {
    Form4* menu = openMenu(m);
    if (!menu) return;
    pickOption(*menu, kind);
    QTest::mouseClick(menu->ui.Command1, Qt::LeftButton);
    if (!QTest::qWaitForWindowActive(m.form1)) ADD_FAILURE() << "the editor did not become active";
}

void arrangeKind(Session& m, DocKind kind) {
    m.kind = kind;
    m.rsDoc = RecordSet::open(m.db, kindInfo(kind).viewSql);
    ShowCurrentDocument(m);
}

QString countRows(const TempDb& file, const QString& table, const QString& where) {
    return file.scalar(QStringLiteral("SELECT count(*) FROM %1 WHERE %2").arg(table, where));
}

} // namespace pylon::test
