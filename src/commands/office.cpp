#include "commands/office.h"

#include "commands/author_box.h"
#include "commands/quit.h"
#include "editor/form1.h"
#include "editor/session.h"
#include "widgets/messages.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>

namespace pylon {

namespace {

DocumentOpener& opener() {
    static DocumentOpener current;
    return current;
}

// Whether the desktop names a program for the file's type. The desktop's opener is started and forgotten:
// it cannot say afterwards that it found nothing, so the question is asked first, where the desktop can
// answer it. A desktop that cannot be asked is given the benefit of the doubt.
bool desktopHasProgramFor(const QString& path) {
    const QString query = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (query.isEmpty()) return true;
    QProcess p;
    p.start(query, {QStringLiteral("query"), QStringLiteral("default"),
                    QMimeDatabase().mimeTypeForFile(path).name()});
    if (!p.waitForFinished(5000) || p.exitStatus() != QProcess::NormalExit) return true;
    return !p.readAllStandardOutput().trimmed().isEmpty();
}

bool openOnDesktop(const QUrl& url) {
    return desktopHasProgramFor(url.toLocalFile()) && QDesktopServices::openUrl(url);
}

} // namespace

void setDocumentOpener(DocumentOpener o) {
    opener() = std::move(o);
}

bool handToOpener(const QUrl& url) {
    return opener() ? opener()(url) : openOnDesktop(url);
}

void openOfficeDocument(Session& m, const QString& fileName) {
    const QString path = QFileInfo(m.appPath + QLatin1Char('/') + fileName).absoluteFilePath();
    // The user is told where the program looked, so that the file can be put back or opened by hand.
    const QString shownPath = QDir::toNativeSeparators(path);
    // Checked here rather than left to the desktop, which may say nothing or say it in another language.
    if (!QFileInfo::exists(path)) {
        MsgBox(m.form1, QStringLiteral("Le document est introuvable :\n%1").arg(shownPath));
        return;
    }
    const QUrl url = QUrl::fromLocalFile(path);
    // The document is handed over and left to the user: nothing waits for it and nothing closes it.
    if (!handToOpener(url))
        MsgBox(m.form1,
               QStringLiteral("Aucun programme de ce poste ne peut ouvrir le document :\n%1").arg(shownPath));
}

void Command12_Click(Session& m) {
    openOfficeDocument(m, QStringLiteral("Fact.doc"));
}
void Command18_Click(Session& m) {
    openOfficeDocument(m, QStringLiteral("License.doc"));
}
void Command19_Click(Session& m) {
    openOfficeDocument(m, QStringLiteral("Manuel.doc"));
}

void wireOffice(Session& m) {
    Session* mp = &m;
    m.form1->onButton(EditorButton::OfficeTemplate, [mp] { Command12_Click(*mp); });
    m.form1->onButton(EditorButton::Licence, [mp] { Command18_Click(*mp); });
    m.form1->onButton(EditorButton::Manual, [mp] { Command19_Click(*mp); });
    wireAuthorBox(m);
    wireQuit(m);
}

} // namespace pylon
