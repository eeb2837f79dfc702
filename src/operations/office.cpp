#include "operations/office.h"

#include "app/module1.h"
#include "editor/form1.h"
#include "operations/author_box.h"
#include "operations/quit.h"

#include <QDesktopServices>
#include <QFileInfo>

namespace pylon {

namespace {

DocumentOpener& opener() {
    static DocumentOpener current;
    return current;
}

} // namespace

void setDocumentOpener(DocumentOpener o) {
    opener() = std::move(o);
}

void openOfficeDocument(Module1& m, const QString& fileName) {
    const QString path = m.appPath + QLatin1Char('/') + fileName;
    // Some desktops answer a missing file with a dialog of their own; the program stays silent instead.
    if (!QFileInfo::exists(path)) return;
    const QUrl url = QUrl::fromLocalFile(path);
    // The document is handed over and left to the user: nothing waits for it and nothing closes it.
    if (opener())
        opener()(url);
    else
        QDesktopServices::openUrl(url);
}

void Command12_Click(Module1& m) {
    openOfficeDocument(m, QStringLiteral("Fact.doc"));
}
void Command18_Click(Module1& m) {
    openOfficeDocument(m, QStringLiteral("License.doc"));
}
void Command19_Click(Module1& m) {
    openOfficeDocument(m, QStringLiteral("Manuel.doc"));
}

void wireOffice(Module1& m) {
    Module1* mp = &m;
    Ui::Form1& ui = m.form1->ui;
    QObject::connect(ui.Command12, &QPushButton::clicked, m.form1, [mp] { Command12_Click(*mp); });
    QObject::connect(ui.Command18, &QPushButton::clicked, m.form1, [mp] { Command18_Click(*mp); });
    QObject::connect(ui.Command19, &QPushButton::clicked, m.form1, [mp] { Command19_Click(*mp); });
    wireAuthorBox(m);
    wireQuit(m);
}

} // namespace pylon
