// How long a cell, a name or an address may be. The margin and the caps limit what the user types or pastes,
// never what the program shows from the file: a stored text longer than that, or holding a tab, is shown
// and kept whole.
#include "editing/form5.h"
#include "editing/line_entry.h"
#include "support/gui_fixture.h"
#include "support/typing.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

using namespace pylon;
using namespace pylon::test;

namespace {

const QString kName = QString(300, u'N');
const QString kAddress = QStringLiteral("Rue 1\tbis\n") + QString(1200, u'A');
const QString kDesign = QString(60, u'L');

class CellLimits : public EditorTest {
  protected:
    // Invoice 3 holds a name, an address and a designation longer than they may be typed, as an older
    // program or a file filled by hand can leave them.
    void SetUp() override {
        ASSERT_TRUE(file.exec(
            QStringLiteral("INSERT INTO CliEC VALUES (7, 0, 0);"
                           "INSERT INTO Facture VALUES (3, '2004-01-02', 7, '%1', '%2', 'Facture', 0, 0);"
                           "INSERT INTO DetFact VALUES (3, '1', '2', '%3', '5,00', '10,00');")
                .arg(kName, kAddress, kDesign)));
        start();
        editor->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
    }
    Form5* openLineDialog() {
        QListWidget* list = ui().List3;
        const QPoint at = list->visualItemRect(list->item(0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        auto* d = qobject_cast<Form5*>(m->form5.get());
        return d && QTest::qWaitForWindowActive(d) ? d : nullptr;
    }
    // Types 60 characters into an emptied box, then pastes 300 over them; the sizes the box then holds.
    static std::pair<qsizetype, qsizetype> typedAndPasted(QLineEdit* box) {
        box->clear();
        typeText(box, QString(60, u'7'));
        const qsizetype typed = box->text().size();
        box->selectAll();
        QGuiApplication::clipboard()->setText(QString(300, u'8'));
        QTest::keySequence(box, QKeySequence::Paste);
        return {typed, box->text().size()};
    }
};

} // namespace

TEST_F(CellLimits, StoredHeaderTextsAreShownWholeAndKeptWhileTheUserTypes) {
    EXPECT_EQ(ui().txtNomCli->text(), kName);
    EXPECT_EQ(ui().txtAdrCli->toPlainText(), kAddress);
    ui().txtNomCli->end(false);
    typeText(ui().txtNomCli, QStringLiteral("x"));
    EXPECT_EQ(ui().txtNomCli->text(), kName) << "nothing more can be typed, nothing is cut";
    QTest::keyClick(ui().txtNomCli, Qt::Key_Backspace);
    EXPECT_EQ(ui().txtNomCli->text(), kName.chopped(1));
    ui().txtAdrCli->moveCursor(QTextCursor::End);
    typeText(ui().txtAdrCli, QStringLiteral("x"));
    QTest::keyClick(ui().txtAdrCli, Qt::Key_Backspace);
    EXPECT_EQ(ui().txtAdrCli->toPlainText(), kAddress.chopped(1)) << "the stored tab stays";
}

TEST_F(CellLimits, TheLineDialogShowsAStoredCellWholeAndStoresItWhole) {
    Form5* d = openLineDialog();
    ASSERT_TRUE(d);
    EXPECT_EQ(d->ui.Text3->text(), kDesign);
    d->ui.Text3->end(false);
    typeText(d->ui.Text3, QStringLiteral("x"));
    EXPECT_EQ(d->ui.Text3->text(), kDesign) << "the margin holds for typing only";
    QTest::mouseClick(d->ui.Command1, Qt::LeftButton);
    EXPECT_EQ(file.scalar(QStringLiteral("SELECT Design FROM DetFact WHERE NumFact = 3")), kDesign);
}

TEST_F(CellLimits, OnlyTheDesignationHasAMargin) {
    // The line pointer: every column but the designation takes long texts, typed or pasted, up to the cap.
    QTest::mouseClick(ui().Command5, Qt::LeftButton);
    QLineEdit* p = ui().txtPointeur;
    for (QListWidget* column : {ui().List1, ui().List2, ui().List3, ui().List4, ui().List5}) {
        if (column == ui().List3) {
            typeLine(p, {QStringLiteral("Vis")});
            continue;
        }
        EXPECT_EQ(typedAndPasted(p), std::make_pair(qsizetype(60), qsizetype(kCellMax)))
            << column->objectName().toStdString();
        pressEnter(p);
        EXPECT_EQ(column->item(0)->text().size(), kCellMax) << column->objectName().toStdString();
    }
    QTest::mouseClick(ui().Command10, Qt::LeftButton);

    // The line dialog: the same, and the designation box stops at the margin.
    Form5* d = openLineDialog();
    ASSERT_TRUE(d);
    for (QLineEdit* box : {d->ui.Text1, d->ui.Text2, d->ui.Text4, d->ui.Text5})
        EXPECT_EQ(typedAndPasted(box), std::make_pair(qsizetype(60), qsizetype(kCellMax)))
            << box->objectName().toStdString();
    EXPECT_EQ(typedAndPasted(d->ui.Text3), std::make_pair(qsizetype(kDesignMax), qsizetype(kDesignMax)));
    QTest::mouseClick(d->ui.Command1, Qt::LeftButton);
    EXPECT_EQ(file.scalar(QStringLiteral("SELECT length(NB) || length(Qt) || length(Design) || length(PU) || "
                                         "length(Mnt) FROM DetFact WHERE NumFact = 3")),
              "25525553255255");
}

TEST_F(CellLimits, TheLineDialogProposesTheExactProduct) {
    Form5* d = openLineDialog();
    ASSERT_TRUE(d);
    d->ui.Text2->setText(QStringLiteral("0,333"));
    d->ui.Text4->setText(QStringLiteral("0,333"));
    EXPECT_EQ(d->ui.Text5->text(), "0,110889");
}
