// The editor's context menu: the document on screen exported as PDF, as the editor shows it; the entries
// wait for the end of an entry; the shop's identity checked, kept in Pylon.ini and printed.
#include "commands/office.h"
#include "output/company_dialog.h"
#include "output/print_menu.h"
#include "output/save_path.h"
#include "print/identity.h"
#include "support/documents.h"
#include "support/gui_fixture.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QMenu>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

using namespace pylon;
using namespace pylon::test;

namespace {

class PrintMenu : public EditorTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(plant(
            file, {5,
                   "Facture",
                   "2026-11-05",
                   7,
                   "Alami SARL",
                   "Rue 1\nCasablanca",
                   false,
                   {{"R1", "1", "Ordinateur", "1000", "1000,00"}, {" ", "2,4", "Ramette", "12", "28,80"}},
                   {{"A", "1", "Retour", "10,00", "10,00"}}}));
        // A shop that has given its name: the first print asks nothing (ShopWithoutName covers that).
        print::Identity shop;
        shop.name = QStringLiteral("Librairie du Port");
        ASSERT_TRUE(print::writeIdentity(ini, shop));
        setDocumentOpener([this](const QUrl& url) {
            opened << url.toLocalFile();
            return true;
        });
        setSavePathAsker([this](QWidget*, const QString& proposed) {
            proposals << proposed;
            return pdfPath;
        });
        start();
    }
    void TearDown() override {
        setDocumentOpener({});
        setSavePathAsker({});
        EditorTest::TearDown();
    }
    // A right click on the widget; the menu once it shows.
    QMenu* rightClick(QWidget* on) {
        QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(5, 5), on->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(on, &e);
        auto* menu = editor->findChild<QMenu*>(QStringLiteral("printMenu"));
        return menu && QTest::qWaitFor([menu] { return menu->isVisible(); }, 1000) ? menu : nullptr;
    }
    void choose(QMenu* menu, const char* name) {
        QTest::mouseClick(
            menu, Qt::LeftButton, {},
            menu->actionGeometry(menu->findChild<QAction*>(QString::fromLatin1(name))).center());
    }
    QStringList enabledEntries(QMenu* menu) {
        QStringList out;
        for (QAction* a : menu->actions())
            if (!a->isSeparator() && a->isVisible() && a->isEnabled()) out << a->text();
        return out;
    }

    QString pdfPath = file.dir() + QStringLiteral("/sortie.pdf");
    QString ini = file.dir() + QStringLiteral("/Pylon.ini");
    QStringList proposals, opened;
};

class PrintMenuKinds : public PrintMenu, public ::testing::WithParamInterface<DocKind> {};

// What the editor shows is what the page says: each line's five cells, the totals and the words.
TEST_P(PrintMenuKinds, ExportsTheDocumentOnScreenAsTheEditorShowsIt) {
    arrangeKind(GetParam());
    QMenu* menu = rightClick(ui().List3);
    ASSERT_TRUE(menu);
    EXPECT_EQ(enabledEntries(menu),
              QStringList({"Supprimer la ligne", "Imprimer le document…", "Aperçu avant impression…",
                           "Exporter en PDF…", "Coordonnées de la société…", "Sauvegarder maintenant",
                           "Journal des ventes…", "Rechercher…", "Nouveau document d'après celui-ci…",
                           "Tableau de bord…", "Reprendre la saisie abandonnée…"}));
    choose(menu, "actionExportPdf");

    const bool credit = GetParam() == DocKind::CreditNote;
    ASSERT_EQ(proposals.size(), 1);
    EXPECT_EQ(QFileInfo(proposals[0]).fileName(), credit ? "Avoir-5.pdf" : "Facture-5.pdf");
    EXPECT_TRUE(QFileInfo(proposals[0]).isAbsolute());
    EXPECT_EQ(opened, QStringList{pdfPath});
    const QStringList pages = pdfPages(pdfPath);
    ASSERT_EQ(pages.size(), 1);
    ASSERT_EQ(column(1).size(), credit ? 1 : 2);
    for (qsizetype i = 0; i < column(1).size(); ++i) {
        QStringList cells;
        for (int c = 1; c <= 5; ++c)
            if (!column(c)[i].trimmed().isEmpty())
                cells << QRegularExpression::escape(column(c)[i].trimmed());
        EXPECT_TRUE(pages[0].contains(QRegularExpression(cells.join("\\s+"))))
            << cells.join(' ').toStdString();
    }
    for (QLineEdit* total : {ui().txtTotalHT, ui().txtTVA, ui().txtTotalTTC})
        EXPECT_TRUE(pages[0].contains(
            QRegularExpression(":\\s+" + QRegularExpression::escape(total->text().trimmed()) + "\\n")));
    for (const QString& words : ui().txtSomme->toPlainText().split('\n'))
        EXPECT_TRUE(pages[0].contains(words.trimmed())) << words.toStdString();
    EXPECT_TRUE(pages[0].contains(credit ? "AVOIR" : "FACTURE"));
    EXPECT_TRUE(pages[0].contains("Alami SARL") && pages[0].contains("Casablanca"));
}

INSTANTIATE_TEST_SUITE_P(PrintMenu, PrintMenuKinds, ::testing::Values(DocKind::Invoice, DocKind::CreditNote),
                         [](const auto& info) {
                             return info.param == DocKind::Invoice ? "Invoice" : "CreditNote";
                         });

TEST_F(PrintMenu, EntriesAndShortcutsWaitForTheEndOfAnEntry) {
    QTest::mouseClick(ui().Command5, Qt::LeftButton);
    ASSERT_TRUE(m->editMode());
    QMenu* menu = rightClick(editor.get());
    ASSERT_TRUE(menu);
    // The printing waits, and so does a new document after this one; the snapshot, the sales journal, the
    // search and the dashboard leave the entry be.
    EXPECT_EQ(enabledEntries(menu), QStringList({"Sauvegarder maintenant", "Journal des ventes…",
                                                 "Rechercher…", "Tableau de bord…"}));
    menu->close();
    ui().List1->setFocus();
    QTest::keyClick(ui().List1, Qt::Key_E, Qt::ControlModifier);
    EXPECT_TRUE(proposals.isEmpty());

    QTest::mouseClick(ui().Command10, Qt::LeftButton);
    ui().List1->setFocus();
    QTest::keyClick(ui().List1, Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(proposals.size(), 1);
    EXPECT_EQ(opened, QStringList{pdfPath});
}

// A wrong ICE is said and kept on screen; the corrected identity goes into Pylon.ini beside the file, and
// onto the next page printed.
TEST_F(PrintMenu, CompanyIdentityIsCheckedKeptAndPrinted) {
    QTimer::singleShot(50, [this] {
        auto* dialog = qobject_cast<CompanyDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        dialog->ui.txtNom->setText("Atlas Fournitures");
        dialog->ui.txtAdresse->setPlainText("12, rue Ibn Battouta\nCasablanca");
        dialog->ui.txtIce->setText("12345");
        dialog->ui.txtPied->setText("Merci ; à bientôt");
        QTest::mouseClick(dialog->ui.buttonBox->button(QDialogButtonBox::Ok), Qt::LeftButton);
        EXPECT_TRUE(dialog->isVisible());
        dialog->ui.txtIce->setText("001234567000089");
        QTest::mouseClick(dialog->ui.buttonBox->button(QDialogButtonBox::Ok), Qt::LeftButton);
    });
    choose(rightClick(editor.get()), "actionCompany");
    EXPECT_EQ(boxes.said("L'ICE doit compter exactement 15 chiffres (5 saisis)."), 1);
    const print::Identity kept = print::readIdentity(file.dir() + "/Pylon.ini");
    EXPECT_EQ(kept.name, "Atlas Fournitures");
    EXPECT_EQ(kept.address, "12, rue Ibn Battouta\nCasablanca");
    EXPECT_EQ(kept.ice, "001234567000089");
    EXPECT_EQ(kept.footer, "Merci ; à bientôt");

    choose(rightClick(editor.get()), "actionExportPdf");
    const QStringList pages = pdfPages(pdfPath);
    ASSERT_EQ(pages.size(), 1);
    for (const char* text :
         {"Atlas Fournitures", "12, rue Ibn Battouta", "ICE : 001234567000089", "Merci ; à bientôt"})
        EXPECT_TRUE(pages[0].contains(QString::fromUtf8(text))) << text;
}

// The first print or PDF of a run, while the shop has no name, offers its identity first; whatever the
// answer, the document is exported, and the offer is not made again.
TEST_F(PrintMenu, ShopWithoutNameIsOfferedItsIdentityOnceBeforeTheFirstExport) {
    const QString offer = QStringLiteral(
        "Le nom et l'adresse de la société ne sont pas renseignés : ils ne figureront pas sur le document."
        "\r\nVoulez-vous les renseigner maintenant ?");
    const struct {
        const char* how;
        QString answer;
        const char* typedName; // into the identity dialog, then saved; null: the dialog is cancelled
        const char* printedName;
    } cases[] = {
        {"no", "&Non", nullptr, nullptr},
        {"yes, then a name", "&Oui", "Atlas Fournitures", "Atlas Fournitures"},
        {"yes, then cancelled", "&Oui", nullptr, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        QFile::remove(ini);
        QFile::remove(pdfPath);
        m->identityOffered = false; // as at the start of a run
        boxes.shown.clear();
        boxes.answers = QStringList{c.answer};
        QTimer watch;
        bool dialogSeen = false;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<CompanyDialog*>(QApplication::activeModalWidget());
            if (!dialog || dialogSeen) return;
            dialogSeen = true;
            if (!c.typedName) {
                dialog->reject();
                return;
            }
            dialog->ui.txtNom->setText(QString::fromUtf8(c.typedName));
            QTest::mouseClick(dialog->ui.buttonBox->button(QDialogButtonBox::Ok), Qt::LeftButton);
        });
        watch.start(5);
        choose(rightClick(editor.get()), "actionExportPdf");
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].title, "Coordonnées de la société");
        EXPECT_EQ(boxes.shown[0].text, offer);
        EXPECT_EQ(dialogSeen, c.answer == "&Oui");
        ASSERT_EQ(opened.size(), 1) << "exported whatever the answer";
        opened.clear();
        const QStringList pages = pdfPages(pdfPath);
        ASSERT_EQ(pages.size(), 1);
        if (c.printedName) {
            EXPECT_TRUE(pages[0].contains(c.printedName));
        }

        // Not asked again in the run, even with the name still empty.
        QFile::remove(ini);
        choose(rightClick(editor.get()), "actionExportPdf");
        EXPECT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(opened.size(), 1);
        opened.clear();
    }
}

} // namespace
