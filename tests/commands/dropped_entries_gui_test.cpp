// "Reprendre la saisie abandonnée…": an entry dropped in any of the ways a day brings is kept, and comes
// back as a new entry with its header, "En Compte" and lines; its number when still free. An entry cut
// short by the program's end is said at the next start. The documents' tables are never touched.
#include "browse/form2.h"
#include "support/gui_fixture.h"
#include "support/list_driver.h"
#include "support/typing.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QProcess>
#include <QTest>

using namespace pylon;
using namespace pylon::test;

namespace {

// Client 7 is on account; invoice 4 is the document shown at start.
class DroppedEntries : public EditorTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(file.exec(QStringLiteral(
            "INSERT INTO CliEC VALUES (7, 1, 0);"
            "INSERT INTO Facture VALUES (4, '2026-12-01', 7, 'Alami', 'Rue 1', 'Facture', 0, 0);"
            "INSERT INTO DetFact VALUES (4, '1', '1', 'Vis', '2,00', '2,00');")));
        start();
    }
    // Invoice 5 for client 7, two whole lines and the first three cells of a third.
    void typeEntry() {
        typeDocument({QString(),
                      QStringLiteral("07/12/2026"),
                      QStringLiteral("7"),
                      QStringLiteral("Alami"),
                      QStringLiteral("Rue 1"),
                      {{"1", "2", "Vis", "1,5", QString()}, {"2", "1", "Clé", "4", QString()}}});
        ui().Check1->setChecked(true);
        typeText(ui().txtPointeur, QStringLiteral("3"));
        pressEnter(ui().txtPointeur);
        typeText(ui().txtPointeur, QStringLiteral("2"));
        pressEnter(ui().txtPointeur);
        typeText(ui().txtPointeur, QStringLiteral("Écrou"));
        pressEnter(ui().txtPointeur);
        ASSERT_EQ(ui().txtNumFact->text(), "5");
    }
    // The menu's entry, the list answered with its first (newest) entry; what the list offered.
    QStringList bringBackNewest() {
        inputs.choose = [this](const ShownInput&) { return inputs.items.back().value(0); };
        const size_t before = inputs.items.size();
        const size_t saidBefore = boxes.shown.size();
        QAction* action = editor->findChild<QAction*>(QStringLiteral("actionDroppedEntries"));
        EXPECT_TRUE(action && action->isEnabled());
        if (!action) return {};
        action->trigger();
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return inputs.items.size() > before || boxes.shown.size() > saidBefore; }, 3000));
        return inputs.items.size() > before ? inputs.items.back() : QStringList();
    }
    void expectBroughtBack(const QString& number) {
        ASSERT_TRUE(m->editMode());
        EXPECT_EQ(ui().txtNumFact->text(), number);
        EXPECT_EQ(ui().txtDateFact->text(), "07/12/2026");
        EXPECT_EQ(ui().txtNumCli->text(), "7");
        EXPECT_EQ(ui().txtNomCli->text(), "Alami");
        EXPECT_EQ(ui().txtAdrCli->toPlainText(), "Rue 1");
        EXPECT_TRUE(ui().Check1->isChecked());
        EXPECT_EQ(column(3), QStringList({"Vis", "Clé", "Écrou"}));
        EXPECT_EQ(column(5), QStringList({"3,00", "4,00"}));
        EXPECT_EQ(ui().txtTotalHT->text().trimmed(), "7,00");
        EXPECT_EQ(m->pointerCell.column, 3) << "typing goes on at the unit price of the third line";
    }
    void restart() {
        editor->close();
        editor.reset();
        m.reset();
        start();
    }
    QString documents() const {
        return file.scalar(QStringLiteral("SELECT (SELECT group_concat(NumFact) FROM Facture) || '/' || "
                                          "(SELECT count(*) FROM DetFact)"));
    }
    QString keptRows(const QString& where) const {
        return file.scalar(QStringLiteral("SELECT count(*) FROM pylon_kept_entries WHERE ") + where);
    }
};

enum class DropWay { Annuler, Step, AjouterAgain, AnotherKind, MonthEnd, ClosingTheWindow };

std::string wayName(DropWay way) {
    const char* const names[] = {"Annuler",     "Step",     "AjouterAgain",
                                 "AnotherKind", "MonthEnd", "ClosingTheWindow"};
    return names[int(way)];
}

class DroppedEntriesWays : public DroppedEntries, public ::testing::WithParamInterface<DropWay> {
  protected:
    void drop() {
        switch (GetParam()) {
        case DropWay::Annuler:
            QTest::mouseClick(ui().Command10, Qt::LeftButton);
            break;
        case DropWay::Step:
            QTest::mouseClick(ui().Command1, Qt::LeftButton);
            break;
        case DropWay::AjouterAgain:
            QTest::mouseClick(ui().Command5, Qt::LeftButton);
            break;
        case DropWay::AnotherKind:
            chooseKind(DocKind::Quote);
            break;
        case DropWay::MonthEnd:
            inputs.answers = {InputAnswerer::kCancel};
            QTest::mouseClick(ui().Command16, Qt::LeftButton);
            break;
        case DropWay::ClosingTheWindow:
            restart();
            break;
        }
    }
};

} // namespace

TEST_P(DroppedEntriesWays, AreKeptAndComeBackAsANewEntry) {
    typeEntry();
    drop();
    ASSERT_FALSE(m->editMode() && m->header.number == "5" && m->lines->count() == 3)
        << "the entry was dropped";
    if (m->editMode()) QTest::mouseClick(ui().Command10, Qt::LeftButton);
    EXPECT_EQ(documents(), "4/1") << "nothing of the entry in the documents' tables";

    const QStringList offered = bringBackNewest();
    ASSERT_EQ(offered.size(), 1);
    EXPECT_TRUE(offered[0].contains(QStringLiteral("Facture n° 5 — client 7 Alami — 3 lignes")))
        << offered[0].toStdString();
    expectBroughtBack("5");

    typeText(ui().txtPointeur, QStringLiteral("1"));
    pressEnter(ui().txtPointeur);
    pressEnter(ui().txtPointeur);
    save();
    EXPECT_EQ(file.scalar(QStringLiteral(
                  "SELECT group_concat(Design || ':' || Mnt, '|') FROM DetFact WHERE NumFact = 5")),
              "Vis:3,00|Clé:4,00|Écrou:2,00");
    EXPECT_TRUE(QTest::qWaitFor([this] { return keptRows("1") == "0"; }, 3000))
        << "a saved entry is forgotten";
}

INSTANTIATE_TEST_SUITE_P(DroppedEntries, DroppedEntriesWays,
                         ::testing::Values(DropWay::Annuler, DropWay::Step, DropWay::AjouterAgain,
                                           DropWay::AnotherKind, DropWay::MonthEnd,
                                           DropWay::ClosingTheWindow),
                         [](const auto& info) { return wayName(info.param); });

TEST_F(DroppedEntries, ANumberTakenMeanwhileGivesTheNextOne) {
    typeEntry();
    QTest::mouseClick(ui().Command10, Qt::LeftButton);
    ASSERT_TRUE(file.exec(
        QStringLiteral("INSERT INTO CliEC VALUES (9, 0, 0);"
                       "INSERT INTO Facture VALUES (5, '2026-12-07', 9, 'Autre', 'Rue 2', 'Facture', 0, 0);"
                       "INSERT INTO DetFact VALUES (5, '1', '1', 'X', '1,00', '1,00');")));
    m->requeryAfterWrite();
    bringBackNewest();
    expectBroughtBack("6");
}

// While typing, the entry is in the file within a moment: what a run killed in the middle of an entry
// leaves. The next start says so, and the entry is among the dropped ones.
TEST_F(DroppedEntries, AnEntryCutShortIsSaidAtTheNextStart) {
    editor->close();
    editor.reset();
    m.reset();
    QProcess worker;
    worker.start(QStringLiteral(PYLON_ENTRY_WORKER), {file.path()});
    ASSERT_TRUE(QTest::qWaitFor(
        [&worker] {
            worker.waitForReadyRead(50);
            return worker.readAllStandardOutput().contains("kept") || worker.state() == QProcess::NotRunning;
        },
        10000));
    ASSERT_EQ(worker.state(), QProcess::Running) << worker.readAllStandardError().toStdString();
    worker.kill();
    ASSERT_TRUE(worker.waitForFinished(5000));

    start();
    QFrame* notice = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&notice, this] {
            notice = editor->findChild<QFrame*>(QStringLiteral("keptEntryNotice"));
            return notice && notice->isVisible();
        },
        3000));
    const QString said = notice->findChild<QLabel*>(QStringLiteral("noticeText"))->text();
    EXPECT_TRUE(said.contains(QStringLiteral("s'est arrêté pendant la saisie d'un document")))
        << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("Facture n° 5 — client 7 Alami — 3 lignes")))
        << said.toStdString();
    EXPECT_NE(QApplication::focusWidget() ? QApplication::focusWidget()->window() : nullptr, notice)
        << "the notice takes no focus";

    const QStringList offered = bringBackNewest();
    ASSERT_EQ(offered.size(), 1);
    EXPECT_TRUE(offered[0].endsWith(QStringLiteral("(arrêt du programme)")));
    ASSERT_TRUE(m->editMode());
    EXPECT_EQ(ui().txtNumFact->text(), "5");
    EXPECT_TRUE(ui().Check1->isChecked());
    EXPECT_EQ(column(3), QStringList({"Vis", "Clé", "Écrou"}));
    EXPECT_EQ(ui().txtTotalHT->text().trimmed(), "7,00");
}

TEST_F(DroppedEntries, ACreditNoteComesBackOnItsDocument) {
    arrangeKind(DocKind::CreditNote);
    QTest::mouseClick(ui().Command5, Qt::LeftButton);
    ASSERT_TRUE(m->form2);
    doubleClickRow(*static_cast<Form2*>(m->form2.get())->ui.List1, 0);
    ASSERT_TRUE(m->editMode());
    typeLine(ui().txtPointeur, {"1", "1", "Retour", "2", QString()});
    QTest::mouseClick(ui().Command10, Qt::LeftButton);
    chooseKind(DocKind::Invoice);

    const QStringList offered = bringBackNewest();
    ASSERT_EQ(offered.size(), 1);
    EXPECT_TRUE(offered[0].contains(QStringLiteral("Avoir du document n° 4 — client 7 Alami — 1 ligne")))
        << offered[0].toStdString();
    ASSERT_TRUE(m->editMode());
    EXPECT_EQ(m->currentKind(), DocKind::CreditNote);
    EXPECT_EQ(ui().txtNumFact->text(), "4");
    EXPECT_EQ(column(3), QStringList({"Retour"}));
}

TEST_F(DroppedEntries, NothingTypedIsNothingToKeep) {
    QTest::mouseClick(ui().Command5, Qt::LeftButton);
    QTest::mouseClick(ui().Command10, Qt::LeftButton);
    bringBackNewest();
    EXPECT_EQ(boxes.said(QStringLiteral("Aucune saisie abandonnée n'est conservée.")), 1);
    EXPECT_FALSE(m->editMode());
}
