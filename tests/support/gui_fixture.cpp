#include "support/gui_fixture.h"

#include "app/startup.h"
#include "app/wiring.h"
#include "widgets/activation.h"

#include <QApplication>
#include <QFileInfo>
#include <QTest>

namespace pylon::test {

void EditorTest::start() {
    watchActivations();
    m = std::make_unique<Session>();
    m->appPath = QFileInfo(file.path()).absolutePath();
    editor = std::make_unique<Form1>(*m);
    wireEditor(*m);
    editor->show();
    Form1_Load(*m);
    // Let the editor become active and its activation (and any message it brings) settle, so that a
    // test starts from a quiet editor whatever the machine's load.
    editor->activateWindow();
    [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(editor.get(), 2000);
    QTest::qWait(30);
}

void EditorTest::TearDown() {
    if (editor) editor->close();
    editor.reset();
    m.reset();
    if (checkFileAfterwards && QFileInfo::exists(file.path())) {
        QString out;
        EXPECT_EQ(runDbTool({QStringLiteral("check"), file.path()}, &out), 0) << out.toStdString();
    }
}

bool focusIs(QWidget* w) {
    return QTest::qWaitFor([w] { return QApplication::focusWidget() == w; }, 1000);
}

QStringList EditorTest::column(int list) const {
    QListWidget* lists[] = {ui().List1, ui().List2, ui().List3, ui().List4, ui().List5};
    QStringList out;
    for (int i = 0; i < lists[list - 1]->count(); ++i)
        out << lists[list - 1]->item(i)->text();
    return out;
}

} // namespace pylon::test
