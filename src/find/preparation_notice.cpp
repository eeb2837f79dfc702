#include "find/preparation_notice.h"

#include "editor/form1.h"
#include "editor/session.h"
#include "find/dashboard.h"
#include "find/search_window.h"
#include "safety/backup_notice.h"

#include <QFrame>
#include <QLabel>

namespace pylon {

namespace {

// 1 000 000: thousands apart as in the editor's amounts.
QString grouped(qint64 n) {
    QString digits = QString::number(n);
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, QLatin1Char(' '));
    return digits;
}

QFrame* noticeOf(QWidget* editor) {
    return editor->findChild<QFrame*>(QStringLiteral("preparationNotice"), Qt::FindDirectChildrenOnly);
}

QFrame* makeNotice(QWidget* editor) {
    return makeQuietNotice(editor, QStringLiteral("preparationNotice"), QStringLiteral("preparationText"));
}

} // namespace

QString preparationText(const PreparationProgress& p) {
    if (p.stage == PreparationProgress::Stage::Computing)
        return QStringLiteral("Calcul des totaux : %1 / %2 documents").arg(grouped(p.done), grouped(p.total));
    const qint64 percent = p.total > 0 ? std::min<qint64>(99, p.done * 100 / p.total) : 0;
    return QStringLiteral("Préparation de la base : %1 %").arg(percent);
}

void showPreparationNotice(QWidget* editor, const PreparationProgress& p) {
    if (!editor) return;
    QFrame* notice = noticeOf(editor);
    if (!notice) notice = makeNotice(editor);
    notice->findChild<QLabel*>(QStringLiteral("preparationText"))->setText(preparationText(p));
    if (notice->isVisible()) return;
    notice->adjustSize();
    // In the editor's lower left corner: the backup notice takes the right one.
    const QRect frame = editor->frameGeometry();
    notice->move(frame.left() + 16, frame.bottom() - notice->height() - 16);
    notice->show();
}

void hidePreparationNotice(QWidget* editor) {
    if (!editor) return;
    if (QFrame* notice = noticeOf(editor)) notice->close();
}

void figuresReady(Session& m) {
    if (auto* dashboard = qobject_cast<DashboardWindow*>(m.dashboardWindow.get());
        dashboard && dashboard->isVisible())
        dashboard->refresh();
    if (auto* search = qobject_cast<SearchWindow*>(m.searchWindow.get()); search && search->isVisible())
        search->search();
}

} // namespace pylon
