// "Tableau de bord…" through its shortcut, its figures set against the totals the editor shows.
#include "editor/show_document.h"
#include "find/dashboard.h"
#include "support/documents.h"
#include "support/gui_fixture.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QGraphicsTextItem>
#include <QGuiApplication>
#include <QLocale>
#include <QRegularExpression>
#include <QTest>
#include <QTextDocumentFragment>
#include <algorithm>

using namespace pylon;
using namespace pylon::test;

namespace {

QString isoDay(const QDate& d) {
    return d.toString(Qt::ISODate);
}

class Dashboard : public EditorTest {
  protected:
    // This month: invoices 1 (client 7) and 2 (client 8, with a credit note), month-end invoice 5
    // (client 8), and what is no sale: cancelled invoice 3, quote 4, delivery note 6. Last month, invoice
    // 10; thirteen months ago, invoice 11.
    void SetUp() override {
        const QDate first(today.year(), today.month(), 1);
        const auto add = [&](int number, const char* kind, const QDate& date, int client, QStringList amounts,
                             bool cancelled = false, QStringList credit = {}) {
            PlantedDocument d;
            d.number = number;
            d.kind = QString::fromLatin1(kind);
            d.date = isoDay(date);
            d.client = client;
            d.name = QStringLiteral("Client %1").arg(client);
            d.cancelled = cancelled;
            for (const QString& a : amounts)
                d.lines.push_back({" ", "1", "Article", a, a});
            for (const QString& a : credit)
                d.creditLines.push_back({" ", "1", "Retour", a, a});
            ASSERT_TRUE(plant(file, d));
        };
        add(1, "Facture", first, 7, {"1000,00", "28,80"});
        add(2, "Facture", first, 8, {"5000,00"}, false, {"100,00", "0,50"});
        add(3, "Facture", first, 7, {"900,00"}, true);
        add(4, "Devis", first, 7, {"700,00"});
        add(5, "Facture M", first, 8, {"333,33"});
        add(6, "BL", first, 8, {"50,00"});
        add(10, "Facture", first.addMonths(-1), 9, {"250,00"});
        add(11, "Facture", first.addMonths(-13), 9, {"999,00"});
    }

    // The editor's totals before tax and of tax for a document shown in a kind.
    std::pair<qint64, qint64> shownTotals(DocKind kind, int number) {
        arrangeKind(kind);
        EXPECT_TRUE(m->rsDoc->FindFirst(QStringLiteral("NumFact=%1").arg(number)) && !m->rsDoc->NoMatch());
        ShowCurrentDocument(*m);
        return {parseAmount(ui().txtTotalHT->text())->tenThousandths(),
                parseAmount(ui().txtTVA->text())->tenThousandths()};
    }

    DashboardWindow* open() {
        editor->activateWindow();
        QTest::keyClick(editor.get(), Qt::Key_T, Qt::ControlModifier);
        auto* w = qobject_cast<DashboardWindow*>(m->dashboardWindow.get());
        if (!w || !QTest::qWaitForWindowExposed(w)) {
            ADD_FAILURE() << "Ctrl+T did not open the dashboard";
            return nullptr;
        }
        return w;
    }

    const QDate today = QDate::currentDate();
};

// The figures read at once, or on a thread as on a file of a million documents.
class DashboardFigures : public Dashboard, public ::testing::WithParamInterface<bool> {};

TEST_P(DashboardFigures, TheMonthsFiguresAreTheSumsOfTheEditorsTotals) {
    start();
    if (GetParam()) m->readBehindFrom = 0;
    // Sales less their credit notes, as the editor shows each of them.
    qint64 ht = 0, tva = 0;
    for (const auto& [kind, number, sign] : {std::tuple{DocKind::Invoice, 1, 1},
                                             {DocKind::Invoice, 2, 1},
                                             {DocKind::MonthEnd, 5, 1},
                                             {DocKind::CreditNote, 2, -1}}) {
        const auto [h, t] = shownTotals(kind, number);
        ht += sign * h;
        tva += sign * t;
    }
    const auto [lastMonthHt, lastMonthTva] = shownTotals(DocKind::Invoice, 10);
    arrangeKind(DocKind::Invoice);

    DashboardWindow* w = open();
    ASSERT_TRUE(w);
    ASSERT_TRUE(QTest::qWaitFor([w] { return !w->ui.lblMonthDocuments->text().isEmpty(); }, 10000));
    EXPECT_EQ(w->ui.lblMonthDocuments->text(), "3");
    EXPECT_EQ(w->ui.lblMonthCredits->text(), "1 (100,50 H.T.)");
    EXPECT_EQ(w->ui.lblMonthHT->text(), formatGroupedAmount(ht));
    EXPECT_EQ(w->ui.lblMonthTVA->text(), formatGroupedAmount(tva));
    EXPECT_EQ(w->ui.lblMonthTTC->text(), formatGroupedAmount(ht + tva));

    auto* bars = qobject_cast<QBarSeries*>(w->chartView()->chart()->series().value(0));
    ASSERT_TRUE(bars);
    ASSERT_EQ(bars->barSets().size(), 2);
    const QBarSet* sales = bars->barSets()[0];
    const QBarSet* tax = bars->barSets()[1];
    ASSERT_EQ(sales->count(), 12);
    EXPECT_DOUBLE_EQ(sales->at(11), double(ht) / 10000);
    EXPECT_DOUBLE_EQ(tax->at(11), double(tva) / 10000);
    EXPECT_DOUBLE_EQ(sales->at(10), double(lastMonthHt) / 10000);
    EXPECT_DOUBLE_EQ(tax->at(10), double(lastMonthTva) / 10000);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(sales->at(i), 0.0) << "month " << i << ": the invoice of thirteen months ago is left out";

    // Client 8 bought 5 000,00 + 333,33 less 100,50; client 7, 1 028,80.
    ASSERT_GE(w->ui.tblBestClients->rowCount(), 2);
    EXPECT_EQ(w->ui.tblBestClients->item(0, 0)->text(), "8");
    EXPECT_EQ(w->ui.tblBestClients->item(0, 2)->text(), formatGroupedAmount(52328300)) << "5 232,83";
    EXPECT_EQ(w->ui.tblBestClients->item(1, 0)->text(), "7");
    EXPECT_EQ(w->ui.tblBestClients->item(1, 1)->text(), "Client 7");
}

INSTANTIATE_TEST_SUITE_P(Dashboard, DashboardFigures, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "OnAThread" : "AtOnce"; });

TEST_F(Dashboard, FollowsASaveAndCopiesTheChartAsAPicture) {
    start();
    DashboardWindow* w = open();
    ASSERT_TRUE(w);
    const QString before = w->ui.lblMonthHT->text();
    typeDocument({QString(),
                  today.toString("dd/MM/yyyy"),
                  "7",
                  "Client 7",
                  "Rue",
                  {{" ", "1", "Lampe", "40", QString()}}});
    save();
    QTest::mouseClick(w->ui.btnRefresh, Qt::LeftButton);
    EXPECT_EQ(
        w->ui.lblMonthHT->text(),
        formatGroupedAmount(
            parseAmount(QString(before).remove(QLocale(QLocale::French).groupSeparator()))->tenThousandths() +
            400000))
        << "40,00 more";
    EXPECT_EQ(w->ui.lblMonthDocuments->text(), "4");

    QGuiApplication::clipboard()->clear();
    QTest::mouseClick(w->ui.btnCopyChart, Qt::LeftButton);
    const QImage copied = QGuiApplication::clipboard()->image();
    EXPECT_FALSE(copied.isNull());
    EXPECT_EQ(copied.size(), w->chartView()->grab().size());
    QTest::keyClick(w, Qt::Key_Escape);
    EXPECT_FALSE(w->isVisible());
}

// Every month's label reads whole and the scale's amounts are grouped by thousands, at the window's own
// size and at the smallest it can be given.
TEST_F(Dashboard, MonthLabelsReadWholeAndTheScaleGroupsThousands) {
    start();
    DashboardWindow* w = open();
    ASSERT_TRUE(w);
    auto* months = qobject_cast<QBarCategoryAxis*>(w->chartView()->chart()->axes(Qt::Horizontal).value(0));
    ASSERT_TRUE(months);
    ASSERT_EQ(months->count(), 12);
    const auto shownTexts = [w] {
        QStringList texts;
        for (QGraphicsItem* item : w->chartView()->scene()->items())
            if (auto* text = dynamic_cast<QGraphicsTextItem*>(item); text && text->isVisible())
                texts << text->toPlainText();
        return texts;
    };
    for (const QSize size : {w->size(), w->minimumSizeHint()}) {
        SCOPED_TRACE(size.width());
        w->resize(size);
        QStringList whole;
        for (const QString& month : months->categories())
            whole << QTextDocumentFragment::fromHtml(month).toPlainText();
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                const QStringList shown = shownTexts();
                return std::all_of(whole.begin(), whole.end(),
                                   [&](const QString& t) { return shown.contains(t); });
            },
            2000))
            << shownTexts().join(" | ").toStdString();
        // The sales of this month, over 6 000 dirhams, bring the scale past a thousand.
        const QStringList scale = shownTexts().filter(QRegularExpression("^[0-9][0-9\\s\\x{202F}]*$"));
        EXPECT_TRUE(scale.filter(QRegularExpression("^[0-9]{4,}$")).isEmpty())
            << scale.join(" | ").toStdString();
        EXPECT_FALSE(scale.filter(QRegularExpression("^[0-9]{1,3}[\\s\\x{202F}][0-9]{3}$")).isEmpty())
            << scale.join(" | ").toStdString();
    }
}

} // namespace
