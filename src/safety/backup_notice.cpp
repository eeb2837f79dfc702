#include "safety/backup_notice.h"

#include "widgets/messages.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

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

QFrame* makeNotice(QWidget* editor) {
    QFrame* notice = makeQuietNotice(editor, QStringLiteral("backupNotice"), QStringLiteral("noticeText"));
    notice->findChild<QLabel*>(QStringLiteral("noticeText"))->setWordWrap(true);
    auto* close = new QPushButton(QStringLiteral("OK"), notice);
    close->setObjectName(QStringLiteral("noticeClose"));
    close->setFocusPolicy(Qt::NoFocus);
    QObject::connect(close, &QPushButton::clicked, notice, &QWidget::close);
    static_cast<QHBoxLayout*>(notice->layout())->addWidget(close, 0, Qt::AlignBottom);
    return notice;
}

} // namespace

void showBackupNotice(QWidget* editor, const QString& text) {
    if (!editor) return;
    auto* notice = editor->findChild<QFrame*>(QStringLiteral("backupNotice"), Qt::FindDirectChildrenOnly);
    if (!notice) notice = makeNotice(editor);
    notice->findChild<QLabel*>(QStringLiteral("noticeText"))->setText(text);
    notice->adjustSize();
    // In the editor's lower right corner, where it hides the least of the document.
    const QRect frame = editor->frameGeometry();
    notice->move(frame.right() - notice->width() - 16, frame.bottom() - notice->height() - 16);
    notice->show();
}

} // namespace pylon
