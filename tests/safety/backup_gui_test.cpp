// The day's snapshot taken by the program, its failure notice, the context menu's entries and the sales
// journal written from the editor, whose totals must be the ones the editor shows.
#include "domain/amount_text.h"
#include "domain/csv.h"
#include "editor/show_document.h"
#include "output/sales_journal.h"
#include "output/save_path.h"
#include "safety/daily_backup.h"
#include "support/gui_fixture.h"

#include <QDateEdit>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>

using namespace pylon;
using namespace pylon::test;

namespace {

class Backups : public EditorTest {
  protected:
    // A daily backup on the test's file, into a folder of its own, on a day the test moves.
    DailyBackup* attach(const QString& folder) {
        BackupPlan plan;
        plan.database = file.path();
        plan.folder = folder;
        plan.today = [this] { return today; };
        plan.noticeState = file.dir() + QStringLiteral("/state.ini");
        return new DailyBackup(*m, plan);
    }
    QString folder() const { return file.dir() + QStringLiteral("/Sauvegardes"); }
    QString snapshot() const {
        return folder() + QStringLiteral("/VelD-%1.db").arg(today.toString(Qt::ISODate));
    }
    // The notice's text while it is shown, else nothing.
    QString notice() const {
        auto* frame = editor->findChild<QFrame*>(QStringLiteral("backupNotice"));
        return frame && frame->isVisible() ? frame->findChild<QLabel*>()->text() : QString();
    }

    // An entry of the editor's right-click menu.
    QAction* entry(const char* name) const {
        auto* menu = editor->findChild<QMenu*>(QStringLiteral("printMenu"));
        return menu ? menu->findChild<QAction*>(QString::fromLatin1(name)) : nullptr;
    }

    QDate today{2026, 11, 30};
};

// Taken at the first start, not at a later start the same day; from the context menu at once; and again at
// "&Quitter", which the end of the program waits for.
TEST_F(Backups, TheDaysSnapshotAtStartOnRequestAndAtQuit) {
    start();
    DailyBackup* backup = attach(folder());
    backup->atStart();
    backup->waitForAll();
    const QString atStart = dumpOf(snapshot());
    EXPECT_EQ(atStart, dumpOf(file.path()));
    const auto saveOne = [this] {
        typeDocument(
            {QString(), "30/11/2026", "7", "Client", "Adresse", {{"1", "2", "Vis", "1,50", QString()}}});
        save();
    };
    saveOne();
    backup->atStart();
    backup->waitForAll();
    EXPECT_EQ(dumpOf(snapshot()), atStart);

    QAction* now = entry("actionBackupNow");
    ASSERT_TRUE(now);
    EXPECT_EQ(now->text(), QStringLiteral("Sauvegarder maintenant"));
    now->trigger();
    backup->waitForAll();
    EXPECT_EQ(notice(), QStringLiteral("La base de données est sauvegardée :\r\n« %1 »")
                            .arg(QDir::toNativeSeparators(snapshot())));
    EXPECT_EQ(dumpOf(snapshot()), dumpOf(file.path()));

    saveOne();
    ASSERT_EQ(count(QStringLiteral("Facture")), QStringLiteral("2"));
    const size_t said = boxes.shown.size();
    QTest::mouseClick(ui().Command14, Qt::LeftButton);
    editor.reset();
    EXPECT_EQ(dumpOf(snapshot()), dumpOf(file.path()));
    EXPECT_EQ(boxes.shown.size(), said) << "nothing asked at quit";
}

TEST_F(Backups, AFailureIsSaidOnceADayWithoutTakingTheKeyboard) {
    // Where the folder should be there is a file: it can be neither made nor written, even by root.
    QFile(folder()).open(QIODevice::WriteOnly);
    start();
    DailyBackup* backup = attach(folder() + QStringLiteral("/dossier"));
    // A line being typed when the notice comes.
    QTest::mouseClick(ui().Command5, Qt::LeftButton);
    ui().txtPointeur->setFocus();
    ASSERT_TRUE(focusIs(ui().txtPointeur));

    const size_t said = boxes.shown.size();
    backup->atStart();
    backup->waitForAll();
    EXPECT_TRUE(notice().startsWith(
        QStringLiteral(
            "La sauvegarde de la base de données n'a pas pu être faite : le dossier « %1 » ne peut "
            "pas être créé ou modifié.")
            .arg(QDir::toNativeSeparators(folder() + QStringLiteral("/dossier")))))
        << notice().toStdString();
    EXPECT_TRUE(focusIs(ui().txtPointeur));
    EXPECT_TRUE(m->editMode());
    EXPECT_EQ(boxes.shown.size(), said) << "no box to answer";
    editor->findChild<QFrame*>(QStringLiteral("backupNotice"))->close();

    // Again the same day, or at a new start of the same day: nothing more is said.
    backup->atStart();
    backup->waitForAll();
    EXPECT_EQ(notice(), QString());
    DailyBackup* restarted = attach(folder() + QStringLiteral("/dossier"));
    restarted->atStart();
    restarted->waitForAll();
    EXPECT_EQ(notice(), QString());
    // The next day it is said again.
    today = today.addDays(1);
    restarted->atStart();
    restarted->waitForAll();
    EXPECT_NE(notice(), QString());
}

// The journal of a month of the demo business, one of its invoices cancelled, against the totals the
// editor shows for each of the month's invoices and credit notes.
class SalesJournal : public Backups {
  protected:
    void SetUp() override {
        QFile::remove(file.path());
        ASSERT_EQ(runDbTool({QStringLiteral("demo"), file.path(), QStringLiteral("--documents"),
                             QStringLiteral("400")}),
                  0);
        // The month with the most credit notes and month-end invoices.
        month = file.scalar(QStringLiteral(
            "SELECT substr(DateFact, 1, 7) AS mo FROM Facture WHERE TypeFact IN ('Facture', 'Facture M') "
            "GROUP BY mo ORDER BY sum(Avoir) + sum(TypeFact = 'Facture M') DESC, count(*) DESC LIMIT 1"));
        ASSERT_TRUE(
            file.exec(QStringLiteral("UPDATE Facture SET \"Annulée\" = 1 WHERE NumFact = (SELECT "
                                     "min(NumFact) FROM Facture WHERE TypeFact = 'Facture' AND Avoir = 0 AND "
                                     "DateFact LIKE '%1%')")
                          .arg(month)));
        start();
    }
    // The three totals the editor shows for a document of the kind, read off the screen.
    std::vector<Amount> shownTotals(DocKind kind, const QString& number) {
        arrangeKind(kind);
        m->rsDoc->FindFirst(QStringLiteral("NumFact=") + number);
        ShowCurrentDocument(*m);
        EXPECT_EQ(ui().txtNumFact->text(), number);
        std::vector<Amount> out;
        for (QLineEdit* total : {ui().txtTotalHT, ui().txtTVA, ui().txtTotalTTC})
            out.push_back(parseAmount(total->text()).value_or(Amount()));
        return out;
    }
    QString month;
};

TEST_F(SalesJournal, TotalsAreTheSumOfTheEditorsLeavingOutTheCancelled) {
    // Documents, credit notes, net: three totals each, added up from the screen.
    std::vector<qint64> expected(9, 0);
    int listed = 0, cancelled = 0;
    auto st =
        QStringLiteral("SELECT group_concat(NumFact || ':' || TypeFact || ':' || coalesce(\"Annulée\", 0) "
                       "|| ':' || Avoir, '|') FROM Facture WHERE TypeFact IN ('Facture', 'Facture M') AND "
                       "DateFact LIKE '%1%'");
    for (const QString& doc : file.scalar(st.arg(month)).split(QLatin1Char('|'))) {
        const QStringList f = doc.split(QLatin1Char(':'));
        ++listed;
        if (f[2] == u"1") {
            ++cancelled;
            continue;
        }
        const auto own = shownTotals(f[1] == u"Facture M" ? DocKind::MonthEnd : DocKind::Invoice, f[0]);
        const auto credit = f[3] == u"1" ? shownTotals(DocKind::CreditNote, f[0]) : std::vector<Amount>(3);
        for (size_t i = 0; i < 3; ++i) {
            expected[i] += own[i].tenThousandths();
            expected[3 + i] += credit[i].tenThousandths();
            expected[6 + i] += own[i].tenThousandths() - credit[i].tenThousandths();
        }
    }
    ASSERT_GT(listed - cancelled, 3);
    ASSERT_EQ(cancelled, 1);

    const QString path = file.dir() + QStringLiteral("/journal.csv");
    setSavePathAsker([&](QWidget*, const QString& proposed) {
        EXPECT_TRUE(proposed.endsWith(QStringLiteral(".csv")));
        return path;
    });
    entry("actionSalesJournal")->trigger();
    auto* dialog = editor->findChild<QDialog*>(QStringLiteral("journalDialog"));
    ASSERT_TRUE(dialog && dialog->isVisible());
    const QDate first = QDate::fromString(month + QStringLiteral("-01"), Qt::ISODate);
    auto* from = dialog->findChild<QDateEdit*>(QStringLiteral("dateFrom"));
    auto* to = dialog->findChild<QDateEdit*>(QStringLiteral("dateTo"));
    EXPECT_EQ(from->displayFormat(), QStringLiteral("dd/MM/yyyy"));
    // A period the wrong way round is said, and the dialog stays.
    from->setDate(first.addMonths(1));
    to->setDate(first);
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("saveJournal")), Qt::LeftButton);
    EXPECT_EQ(boxes.said(QStringLiteral("La date de début doit précéder la date de fin.")), 1);
    EXPECT_FALSE(QFile::exists(path));
    from->setDate(first);
    to->setDate(first.addMonths(1).addDays(-1));
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("saveJournal")), Qt::LeftButton);
    setSavePathAsker({});
    ASSERT_FALSE(boxes.shown.empty());
    EXPECT_TRUE(boxes.shown.back().text.startsWith(QStringLiteral("Le journal des ventes du 01/")));

    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    std::vector<csv::Record> rows;
    QString why;
    ASSERT_TRUE(csv::parse(f.readAll(), rows, &why, ';')) << why.toStdString();
    ASSERT_EQ(int(rows.size()), listed + 2); // the header, the documents, the totals
    EXPECT_EQ(
        std::count_if(rows.begin(), rows.end(), [](const csv::Record& r) { return r[5].text == "oui"; }), 1);
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(rows.back()[6 + i].text, formatAmount(Amount(expected[i])).toUtf8()) << "column " << 6 + i;
}

} // namespace
