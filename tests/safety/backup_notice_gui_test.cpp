// The backup notice beside the editor leaves the totals, the amount in words and every button in view,
// wherever the editor stands.
#include "safety/backup_notice.h"
#include "support/gui_fixture.h"

#include <QFrame>
#include <QPushButton>
#include <QScreen>
#include <QTest>

using namespace pylon;
using namespace pylon::test;

namespace {

QRect onScreen(const QWidget* w) {
    return QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
}

class BackupNoticePlace : public EditorTest {};

TEST_F(BackupNoticePlace, CoversNeitherTheTotalsNorAnyButton) {
    start();
    const QRect screen = editor->screen()->availableGeometry();
    const QString longText = QStringLiteral("La sauvegarde de la base de données n'a pas pu être faite : le "
                                            "dossier « /srv/pylon/Sauvegardes » ne "
                                            "peut pas être créé ou modifié.");
    const QPoint places[] = {editor->pos(), screen.topLeft(), screen.topLeft() + QPoint(200, 150)};
    for (const QPoint& at : places) {
        SCOPED_TRACE(at.x());
        editor->move(at);
        QTest::qWait(20);
        showBackupNotice(editor.get(), longText);
        auto* notice = editor->findChild<QFrame*>(QStringLiteral("backupNotice"));
        ASSERT_TRUE(notice && notice->isVisible());
        const QRect covered = notice->frameGeometry();
        QList<const QWidget*> keepClear{ui().txtTotalHT, ui().txtTVA, ui().txtTotalTTC, ui().txtSomme};
        for (const QPushButton* b : editor->findChildren<QPushButton*>())
            if (b->isVisible() && b->window() == editor.get()) keepClear << b;
        ASSERT_GT(keepClear.size(), 10);
        for (const QWidget* w : keepClear)
            EXPECT_FALSE(covered.intersects(onScreen(w))) << w->objectName().toStdString();
        notice->close();
    }
}

// With room around the editor, the notice stands outside it, on the screen.
TEST(BackupNoticePlaces, BesideTheEditorWhereThereIsRoom) {
    const QSize notice(340, 60);
    const QRect screen(0, 0, 1920, 1080);
    const struct {
        QRect editor;
        QPoint expected;
    } cases[] = {
        {{0, 0, 769, 666}, {777, 606}},       // to its right
        {{1151, 0, 769, 666}, {1580, 674}},   // below
        {{1151, 414, 769, 666}, {803, 1020}}, // to its left
    };
    for (const auto& c : cases) {
        const QPoint at = noticePlace(c.editor, notice, screen, {});
        EXPECT_EQ(at, c.expected) << c.editor.x() << "," << c.editor.y();
        EXPECT_FALSE(QRect(at, notice).intersects(c.editor));
        EXPECT_TRUE(screen.contains(QRect(at, notice)));
    }
}

} // namespace
