#include "output/print_menu.h"

#include "commands/office.h"
#include "documents/stored_document.h"
#include "editing/line_deletion.h"
#include "editor/form1.h"
#include "editor/session.h"
#include "output/company_dialog.h"
#include "output/save_path.h"
#include "print/pdf_file.h"
#include "widgets/messages.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <memory>
#include <optional>

namespace pylon {

namespace {

// The document the editor shows, as it prints in the current kind; a message says why when there is none.
std::optional<print::PrintedDocument> documentOnScreen(Session& m) {
    const auto number = m.rsDoc ? m.rsDoc->Fields(QStringLiteral("NumFact")) : std::nullopt;
    if (!number || number->isNull()) {
        MsgBox(m.form1, QStringLiteral("Aucun document n'est affiché."));
        return std::nullopt;
    }
    QString why;
    const auto doc = readDocument(m.db, number->toLongLong(), &why);
    if (!doc) {
        MsgBox(m.form1, why.isEmpty()
                            ? QStringLiteral("Le document n° %1 n'est plus dans la base de données.")
                                  .arg(number->toLongLong())
                            : QStringLiteral("Le document n° %1 n'a pas pu être lu :\n%2")
                                  .arg(number->toLongLong())
                                  .arg(m.db.failureText().isEmpty() ? why : m.db.failureText()));
        return std::nullopt;
    }
    const DocKind shownAs = m.currentKind() == DocKind::CreditNote ? DocKind::CreditNote : doc->entry.kind;
    return print::printedDocument(*doc, shownAs);
}

print::Letterhead letterheadOf(Session& m) {
    return print::letterheadFrom(print::identityFileFor(m.databasePath()));
}

void paintOn(Session& m, QPrinter& printer, const print::PrintedDocument& doc) {
    QString why;
    if (print::paintDocuments(printer, {doc}, letterheadOf(m), &why) == 0)
        MsgBox(m.form1, QStringLiteral("Le document n'a pas pu être imprimé :\n%1").arg(why));
}

// A page without the shop's name and address is seldom what is wanted: before the first print or PDF of
// the run, a shop that has not given its name is offered the identity dialog. Whatever is done there, the
// print goes on; the offer is not made again in the run.
void offerIdentityOnce(Session& m) {
    if (m.identityOffered) return;
    if (!print::readIdentity(print::identityFileFor(m.databasePath())).name.trimmed().isEmpty()) return;
    m.identityOffered = true;
    const MsgAnswer answer =
        MsgBox(m.form1,
               QStringLiteral("Le nom et l'adresse de la société ne sont pas renseignés : ils ne figureront "
                              "pas sur le document.\r\nVoulez-vous les renseigner maintenant ?"),
               MsgStyle::YesNo, QStringLiteral("Coordonnées de la société"));
    if (answer == MsgAnswer::Yes) editCompanyIdentity(m);
}

// A4 on the whole sheet: the page keeps its own margins.
void setUpPrinter(QPrinter& printer, const print::PrintedDocument& doc) {
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setFullPage(true);
    printer.setDocName(doc.fileStem);
}

// Keeps the menu's entries and shortcuts in step with the edit mode, which "&Annuler" follows exactly.
class EditModeWatch : public QObject {
  public:
    EditModeWatch(Session& m, QList<QAction*> actions)
        : QObject(m.form1), m_(m), actions_(std::move(actions)) {
        m.form1->onEntryButtonsEnabledChange(this, [this] { sync(); });
        sync();
    }
    void sync() {
        for (QAction* a : actions_)
            a->setEnabled(!m_.editMode());
    }

  private:
    Session& m_;
    QList<QAction*> actions_;
};

} // namespace

void printCurrentDocument(Session& m) {
    const auto doc = documentOnScreen(m);
    if (!doc) return;
    offerIdentityOnce(m);
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(printer, *doc);
    QPrintDialog dialog(&printer, m.form1);
    dialog.setWindowTitle(QStringLiteral("Imprimer le document"));
    if (dialog.exec() == QDialog::Accepted) paintOn(m, printer, *doc);
}

void previewCurrentDocument(Session& m) {
    const auto doc = documentOnScreen(m);
    if (!doc) return;
    QPrinter printer(QPrinter::HighResolution);
    setUpPrinter(printer, *doc);
    QPrintPreviewDialog preview(&printer, m.form1);
    preview.setWindowTitle(QStringLiteral("Aperçu avant impression"));
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&m, &doc](QPrinter* p) { paintOn(m, *p, *doc); });
    preview.exec();
}

void exportCurrentDocument(Session& m) {
    const auto doc = documentOnScreen(m);
    if (!doc) return;
    offerIdentityOnce(m);
    const QString proposed = QDir(documentsFolder()).filePath(doc->fileStem + QStringLiteral(".pdf"));
    QString path = askSavePath(m.form1, QStringLiteral("Exporter en PDF"), proposed,
                               QStringLiteral("Documents PDF (*.pdf)"));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".pdf");
    const QString shown = QDir::toNativeSeparators(path);
    QString why;
    if (print::writePdf(path, {*doc}, letterheadOf(m), &why) == 0) {
        MsgBox(m.form1,
               QStringLiteral("Le fichier PDF n'a pas pu être enregistré :\n%1\n%2").arg(shown, why));
        return;
    }
    if (!handToOpener(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath())))
        MsgBox(m.form1,
               QStringLiteral(
                   "Le fichier PDF est enregistré, mais aucun programme de ce poste ne peut l'ouvrir :\n%1")
                   .arg(shown));
}

void wirePrintMenu(Session& m) {
    Form1* form = m.form1;
    Session* mp = &m;
    auto* menu = new QMenu(form);
    menu->setObjectName(QStringLiteral("printMenu"));
    // First, over a line only: the line the click was on. The menu is the editor's one, so that the
    // printing and the other entries stay where a right click on the lines always found them.
    auto clickedRow = std::make_shared<int>(-1);
    QAction* deleteLine = menu->addAction(QStringLiteral("Supprimer la ligne"));
    deleteLine->setObjectName(QStringLiteral("actionDeleteLine"));
    QObject::connect(deleteLine, &QAction::triggered, form,
                     [mp, clickedRow] { pylon::deleteLine(*mp, *clickedRow); });
    QAction* afterDeleteLine = menu->addSeparator();
    QList<QAction*> actions;
    const auto add = [&](const char* name, const QString& text, const QKeySequence& key,
                         void (*run)(Session&)) {
        QAction* a = menu->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcut(key);
        // On the window too, so that the shortcut works while the menu is closed. A field that uses the
        // same keys for itself keeps them: Qt gives a focused field's own keys precedence.
        form->addAction(a);
        QObject::connect(a, &QAction::triggered, form, [mp, run] {
            if (!mp->editMode()) run(*mp);
        });
        actions << a;
    };
    add("actionPrint", QStringLiteral("Imprimer le document…"), QKeySequence(Qt::CTRL | Qt::Key_P),
        printCurrentDocument);
    add("actionPreview", QStringLiteral("Aperçu avant impression…"), {}, previewCurrentDocument);
    add("actionExportPdf", QStringLiteral("Exporter en PDF…"), QKeySequence(Qt::CTRL | Qt::Key_E),
        exportCurrentDocument);
    menu->addSeparator();
    add("actionCompany", QStringLiteral("Coordonnées de la société…"), {}, editCompanyIdentity);
    auto* watch = new EditModeWatch(m, actions);

    form->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(form, &QWidget::customContextMenuRequested, menu,
                     [form, menu, watch, clickedRow, deleteLine, afterDeleteLine](const QPoint& at) {
                         watch->sync();
                         *clickedRow = form->lineRowAt(at).value_or(-1);
                         deleteLine->setVisible(*clickedRow >= 0);
                         afterDeleteLine->setVisible(*clickedRow >= 0);
                         menu->popup(form->mapToGlobal(at));
                     });
}

} // namespace pylon
