#include "safety/backup_notice.h"

#include "editor/form1.h"
#include "widgets/messages.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

namespace pylon {

QFrame* makeQuietNotice(QWidget* editor, const QString& name, const QString& textName) {
    // A tool window of the editor: it goes with it, and is never the window the keyboard types into.
    auto* notice = new QFrame(editor, Qt::Tool | Qt::WindowDoesNotAcceptFocus);
    notice->setObjectName(name);
    notice->setAttribute(Qt::WA_ShowWithoutActivating);
    notice->setWindowTitle(kAppTitle);
    auto* text = new QLabel(notice);
    text->setObjectName(textName);
    text->setMinimumWidth(320);
    auto* layout = new QHBoxLayout(notice);
    layout->addWidget(text, 1);
    return notice;
}

namespace {

QFrame* makeNotice(QWidget* editor, const QString& name) {
    QFrame* notice = makeQuietNotice(editor, name, QStringLiteral("noticeText"));
    notice->findChild<QLabel*>(QStringLiteral("noticeText"))->setWordWrap(true);
    auto* close = new QPushButton(QStringLiteral("OK"), notice);
    close->setObjectName(QStringLiteral("noticeClose"));
    close->setFocusPolicy(Qt::NoFocus);
    QObject::connect(close, &QPushButton::clicked, notice, &QWidget::close);
    static_cast<QHBoxLayout*>(notice->layout())->addWidget(close, 0, Qt::AlignBottom);
    return notice;
}

} // namespace

QPoint noticePlace(const QRect& editorFrame, const QSize& size, const QRect& screen,
                   const QList<QRect>& keepClear) {
    constexpr int gap = 8;
    const QRect f = editorFrame;
    const int right = f.x() + f.width(), bottom = f.y() + f.height();
    const QPoint beside[] = {
        {right + gap, bottom - size.height()},
        {right - size.width(), bottom + gap},
        {f.x() - gap - size.width(), bottom - size.height()},
        {right - size.width(), f.y() - gap - size.height()},
    };
    for (const QPoint& at : beside)
        if (screen.contains(QRect(at, size))) return at;
    // No room around the editor (a small screen, or the editor maximized): over whatever of the editor
    // the notice leaves its totals and buttons to be seen and clicked.
    const QRect area = f.intersected(screen);
    for (int y = area.y() + area.height() - size.height() - gap; y >= area.y(); y -= gap) {
        for (int x = area.x() + area.width() - size.width() - gap; x >= area.x(); x -= gap) {
            const QRect spot(QPoint(x, y), size);
            if (std::none_of(keepClear.begin(), keepClear.end(),
                             [&spot](const QRect& r) { return r.intersects(spot); }))
                return spot.topLeft();
        }
    }
    return QPoint(screen.x() + screen.width() - size.width(), screen.y() + screen.height() - size.height());
}

void showBackupNotice(Form1* editor, const QString& text) {
    showNotice(editor, QStringLiteral("backupNotice"), text);
}

void showNotice(Form1* editor, const QString& name, const QString& text) {
    if (!editor) return;
    auto* notice = editor->findChild<QFrame*>(name, Qt::FindDirectChildrenOnly);
    if (!notice) notice = makeNotice(editor, name);
    notice->findChild<QLabel*>(QStringLiteral("noticeText"))->setText(text);
    notice->adjustSize();
    const QScreen* screen = editor->screen();
    const QRect available = screen ? screen->availableGeometry() : editor->frameGeometry();
    notice->move(noticePlace(editor->frameGeometry(), notice->frameGeometry().size(), available,
                             editor->areasToKeepClear()));
    notice->show();
}

} // namespace pylon
