// The sales journal's period typed as a clerk types it, and its file proposed where the PDF files are.
#include "commands/office.h"
#include "output/save_path.h"
#include "print/identity.h"
#include "support/gui_fixture.h"

#include <QAction>
#include <QDateEdit>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QPushButton>
#include <QTest>

using namespace pylon;
using namespace pylon::test;

namespace {

class JournalPeriod : public EditorTest {
  protected:
    void SetUp() override {
        // A shop with its name filled in, so that exporting a PDF asks nothing first.
        print::Identity shop;
        shop.name = QStringLiteral("Atlas Fournitures");
        ASSERT_TRUE(print::writeIdentity(file.dir() + QStringLiteral("/Pylon.ini"), shop));
        ASSERT_TRUE(file.exec(
            QStringLiteral("INSERT INTO CliEC VALUES (7, 0, 0);"
                           "INSERT INTO Facture VALUES (5, '2026-06-10', 7, 'Alami', 'Rue', 'Facture', 0, 0);"
                           "INSERT INTO DetFact VALUES (5, ' ', '1', 'x', '10,00', '10,00');")));
        setSavePathAsker([this](QWidget*, const QString& proposed) {
            proposals << proposed;
            return proposed.endsWith(QStringLiteral(".pdf")) ? file.dir() + QStringLiteral("/doc.pdf") : path;
        });
        setDocumentOpener([](const QUrl&) { return true; });
        start();
    }
    void TearDown() override {
        setSavePathAsker({});
        setDocumentOpener({});
        EditorTest::TearDown();
    }
    QAction* entry(const char* name) const {
        auto* menu = editor->findChild<QMenu*>(QStringLiteral("printMenu"));
        return menu ? menu->findChild<QAction*>(QString::fromLatin1(name)) : nullptr;
    }
    QDialog* openJournal() {
        entry("actionSalesJournal")->trigger();
        // The dialogs of the earlier cases are put away, and deleted only later.
        for (QDialog* dialog : editor->findChildren<QDialog*>(QStringLiteral("journalDialog")))
            if (dialog->isVisible()) return dialog;
        return nullptr;
    }
    // Over the whole date, as the user types into a field that already shows one.
    static void type(QDateEdit* field, const QString& text) {
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, text);
    }

    QString path = file.dir() + QStringLiteral("/journal.csv");
    QStringList proposals;
};

TEST_F(JournalPeriod, ADateTypedWithOneOrTwoDigitsIsTakenAndOneThatIsNoDateIsSaid) {
    const QString invalid = QStringLiteral(
        "La date %1 « %2 » n'est pas une date valide.\r\nTapez-la jour/mois/année, par exemple "
        "01/06/2026.");
    const struct {
        QString from, to;
        QString said; // empty: the journal of 1-30 June 2026 is written
        bool fromRefused = false;
        bool byEnter = false; // Enter typed in the second date rather than a click on "Enregistrer…"
    } cases[] = {
        {"1/6/2026", "30/6/2026", {}},
        {"01/06/2026", "30/06/2026", {}},
        {"1a/6x/2026", "30/6/2026", {}}, // letters are not typed
        {"31/02/2026", "30/6/2026", invalid.arg("de début", "31/02/2026"), true},
        {"1/6/2026", "30/6/26", invalid.arg("de fin", "30/6/26")},
        {"1/6/", "30/6/2026", invalid.arg("de début", "1/6/"), true},
        {"1/6/2026", "30/6/2026", {}, false, true},
        {"1/6/2026", "31/6/2026", invalid.arg("de fin", "31/6/2026"), false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.from.toStdString() + " - " + c.to.toStdString());
        QFile::remove(path);
        boxes.shown.clear();
        QDialog* dialog = openJournal();
        ASSERT_TRUE(dialog);
        auto* from = dialog->findChild<QDateEdit*>(QStringLiteral("dateFrom"));
        auto* to = dialog->findChild<QDateEdit*>(QStringLiteral("dateTo"));
        // From one date to the next with Tab, as a clerk goes.
        dialog->activateWindow();
        from->setFocus();
        ASSERT_TRUE(focusIs(from));
        type(from, c.from);
        QTest::keyClick(from, Qt::Key_Tab);
        ASSERT_TRUE(focusIs(to)) << "Tab leaves the first date";
        type(to, c.to);
        if (c.byEnter)
            QTest::keyClick(to, Qt::Key_Return);
        else
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("saveJournal")), Qt::LeftButton);
        ASSERT_EQ(boxes.shown.size(), 1u);
        if (c.said.isEmpty()) {
            EXPECT_TRUE(boxes.shown[0].text.startsWith(
                QStringLiteral("Le journal des ventes du 01/06/2026 au 30/06/2026 est enregistré")))
                << boxes.shown[0].text.toStdString();
            EXPECT_TRUE(QFile::exists(path));
            EXPECT_FALSE(dialog->isVisible());
        } else {
            EXPECT_EQ(boxes.shown[0].text, c.said);
            EXPECT_FALSE(QFile::exists(path));
            EXPECT_TRUE(dialog->isVisible());
            const QDateEdit* refused = c.fromRefused ? from : to;
            EXPECT_EQ(refused->text(), c.fromRefused ? c.from : c.to) << "kept as typed, to be corrected";
            dialog->reject();
        }
    }
}

// The ledger is proposed in the folder the PDF files are proposed in, not beside the database.
TEST_F(JournalPeriod, ItsFileIsProposedWhereThePdfIsProposed) {
    entry("actionExportPdf")->trigger();
    QDialog* dialog = openJournal();
    ASSERT_TRUE(dialog);
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("saveJournal")), Qt::LeftButton);
    ASSERT_EQ(proposals.size(), 2);
    EXPECT_TRUE(proposals[0].endsWith(QStringLiteral(".pdf")));
    EXPECT_TRUE(proposals[1].endsWith(QStringLiteral(".csv")));
    EXPECT_EQ(QFileInfo(proposals[1]).absolutePath(), QFileInfo(proposals[0]).absolutePath());
    EXPECT_NE(QFileInfo(proposals[1]).absolutePath(), file.dir());
}

} // namespace
