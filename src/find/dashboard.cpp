#include "find/dashboard.h"

#include "editor/form1.h"
#include "editor/session.h"
#include "store/background_read.h"
#include "widgets/window_keys.h"

#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QHeaderView>
#include <QLocale>
#include <QValueAxis>

namespace pylon {

namespace {

double dirhams(Amount a) {
    return double(a.tenThousandths()) / 10000.0;
}

QString capitalized(QString s) {
    if (!s.isEmpty()) s[0] = s[0].toUpper();
    return s;
}

// "janv. 26": the months as the French calendar writes them, with the year, since twelve months span two.
QString shortMonth(const MonthSales& m) {
    return QStringLiteral("%1 %2")
        .arg(QLocale(QLocale::French).monthName(m.month, QLocale::ShortFormat))
        .arg(m.year % 100, 2, 10, QLatin1Char('0'));
}

QTableWidgetItem* cell(const QString& text, bool number = false) {
    auto* item = new QTableWidgetItem(text);
    if (number) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

} // namespace

DashboardWindow::DashboardWindow(Session& m)
    : QWidget(nullptr, Qt::Window), m_(m), chartView_(new QChartView) {
    ui.setupUi(this);
    chartView_->setObjectName(QStringLiteral("chartView"));
    chartView_->setRenderHint(QPainter::Antialiasing);
    chartView_->setMinimumSize(480, 320);
    ui.chartLayout->addWidget(chartView_);
    ui.tblBestClients->setColumnCount(4);
    ui.tblBestClients->setHorizontalHeaderLabels({QStringLiteral("N°"), QStringLiteral("Client"),
                                                  QStringLiteral("Ventes H.T."),
                                                  QStringLiteral("Documents")});
    ui.tblBestClients->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    ui.tblBestClients->verticalHeader()->hide();
    ui.tblBestClients->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    connect(ui.btnCopyChart, &QPushButton::clicked, this, [this] { copyChart(); });
    connect(ui.btnRefresh, &QPushButton::clicked, this, [this] { refresh(); });
    connect(ui.btnClose, &QPushButton::clicked, this, &QWidget::close);
    closeOnEscape(*this);
}

DashboardWindow::~DashboardWindow() = default;

void DashboardWindow::refresh() {
    pending_.reset();
    const QDate today = QDate::currentDate();
    if (!m_.db.isOpen() || !m_.readsBehind()) {
        showFigures(m_.db.isOpen() ? salesSummary(m_.db, today) : std::nullopt);
        return;
    }
    // A large file's figures are read on a thread: the window answers meanwhile, and the figures shown
    // stay until the new ones replace them.
    if (auto preparing = salesSummaryBefore(m_.db)) {
        showFigures(preparing);
        return;
    }
    auto summary = std::make_shared<std::optional<SalesSummary>>();
    pending_ = std::make_unique<BackgroundRead>(
        m_.db.path(), [summary, today](Database& db) { *summary = readSalesSummary(db, today); },
        [this, summary, today] {
            const bool opened = pending_->opened();
            pending_.reset();
            // A file that could not be opened a second time is read through the program's own connection.
            showFigures(opened ? *summary : salesSummary(m_.db, today));
        });
}

void DashboardWindow::showFigures(const std::optional<SalesSummary>& s) {
    if (!s) {
        ui.lblStatus->setText(m_.db.isOpen() ? QStringLiteral("Les ventes n'ont pas pu être lues : ") +
                                                   m_.db.failureText()
                                             : QStringLiteral("La base de données n'est pas ouverte."));
        return;
    }
    if (s->preparing) {
        ui.lblStatus->setText(
            QStringLiteral("Les totaux des documents sont en cours de calcul : les chiffres "
                           "s'afficheront d'eux-mêmes dans un moment."));
        // Nothing of an earlier reading is left on screen as if it were current.
        chartView_->setVisible(false);
        ui.grpMonth->setEnabled(false);
        for (QLabel* l :
             {ui.lblMonthDocuments, ui.lblMonthCredits, ui.lblMonthHT, ui.lblMonthTVA, ui.lblMonthTTC})
            l->clear();
        ui.tblBestClients->setRowCount(0);
        return;
    }
    chartView_->setVisible(true);
    ui.grpMonth->setEnabled(true);
    showChart(*s);
    showMonth(s->months.back());
    showClients(s->bestClients);
    int unreadable = 0;
    for (const MonthSales& month : s->months)
        unreadable += month.unreadable;
    ui.lblStatus->setText(
        unreadable == 0
            ? QStringLiteral("Factures et factures du mois, sans les factures annulées, avoirs déduits.")
            : QStringLiteral("%1 total(aux) trop grand(s) pour être compté(s) sont laissé(s) de côté.")
                  .arg(unreadable));
}

void DashboardWindow::showChart(const SalesSummary& s) {
    auto* sales = new QBarSet(QStringLiteral("Ventes H.T."));
    auto* tax = new QBarSet(QStringLiteral("T.V.A."));
    QStringList months;
    double highest = 0;
    for (const MonthSales& m : s.months) {
        *sales << dirhams(m.netHt());
        *tax << dirhams(m.netTva());
        months << shortMonth(m);
        highest = std::max({highest, dirhams(m.netHt()), dirhams(m.netTva())});
    }
    auto* series = new QBarSeries;
    series->append(sales);
    series->append(tax);

    auto* chart = new QChart;
    // The amounts of the scale grouped by thousands, as French writes them ("6 000").
    chart->setLocale(QLocale(QLocale::French, QLocale::France));
    chart->setLocalizeNumbers(true);
    chart->setTitle(QStringLiteral("Ventes des douze derniers mois (dirhams)"));
    chart->addSeries(series);
    auto* x = new QBarCategoryAxis;
    x->append(months);
    // Twelve labels side by side have some thirty pixels each, and the chart cut "mars" and "sept." to
    // "m…" and "se…": upright, each has the chart's height and reads whole, at any size of the window.
    x->setLabelsAngle(-90);
    chart->addAxis(x, Qt::AlignBottom);
    series->attachAxis(x);
    auto* y = new QValueAxis;
    y->setLabelFormat(QStringLiteral("%.0f"));
    y->setRange(0, highest > 0 ? highest * 1.1 : 1);
    y->applyNiceNumbers();
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(y);
    chart->legend()->setAlignment(Qt::AlignBottom);
    // The view owns its chart and lets the previous one go.
    QChart* previous = chartView_->chart();
    chartView_->setChart(chart);
    delete previous;
}

void DashboardWindow::showMonth(const MonthSales& month) {
    ui.grpMonth->setTitle(QStringLiteral("%1 %2")
                              .arg(capitalized(QLocale(QLocale::French).standaloneMonthName(month.month)))
                              .arg(month.year));
    ui.lblMonthDocuments->setText(QString::number(month.documents));
    ui.lblMonthCredits->setText(
        month.creditNotes == 0
            ? QStringLiteral("0")
            : QStringLiteral("%1 (%2 H.T.)").arg(month.creditNotes).arg(formatGroupedAmount(month.creditHt)));
    ui.lblMonthHT->setText(formatGroupedAmount(month.netHt()));
    ui.lblMonthTVA->setText(formatGroupedAmount(month.netTva()));
    ui.lblMonthTTC->setText(
        formatGroupedAmount(Amount(month.netHt().tenThousandths() + month.netTva().tenThousandths())));
}

void DashboardWindow::showClients(const std::vector<ClientSales>& clients) {
    ui.tblBestClients->setRowCount(int(clients.size()));
    for (int row = 0; row < int(clients.size()); ++row) {
        const ClientSales& c = clients[size_t(row)];
        ui.tblBestClients->setItem(row, 0, cell(c.client.toString(), true));
        ui.tblBestClients->setItem(row, 1, cell(c.name));
        ui.tblBestClients->setItem(row, 2, cell(formatGroupedAmount(c.netHt), true));
        ui.tblBestClients->setItem(row, 3, cell(QString::number(c.documents), true));
    }
    for (const int column : {0, 2, 3})
        ui.tblBestClients->resizeColumnToContents(column);
}

void DashboardWindow::copyChart() {
    QApplication::clipboard()->setPixmap(chartView_->grab());
    ui.lblStatus->setText(QStringLiteral("Le graphique est copié : collez-le où vous voulez."));
}

DashboardWindow& dashboardWindow(Session& m) {
    if (auto* w = qobject_cast<DashboardWindow*>(m.dashboardWindow.get())) return *w;
    auto* w = new DashboardWindow(m);
    m.dashboardWindow.reset(w);
    return *w;
}

void showDashboard(Session& m) {
    DashboardWindow& w = dashboardWindow(m);
    if (!w.isVisible() && m.form1) w.move(m.form1->frameGeometry().topLeft() + QPoint(60, 60));
    w.refresh();
    w.show();
    w.raise();
    w.activateWindow();
}

} // namespace pylon
