#pragma once
// "Tableau de bord…": the sales of the last twelve months as bars (before tax and tax, credit notes
// deducted), the figures of the current month, and the ten best clients of the year. The chart can be
// copied as a picture, to be pasted into a letter or a spreadsheet. It only reads.
#include "figures/sales_summary.h"
#include "ui_DashboardWindow.h"

#include <QWidget>
#include <memory>
#include <optional>

QT_BEGIN_NAMESPACE
class QChartView;
QT_END_NAMESPACE

namespace pylon {

struct Session;
class BackgroundRead;

class DashboardWindow : public QWidget {
    Q_OBJECT
  public:
    explicit DashboardWindow(Session& m);
    ~DashboardWindow() override;
    Ui::DashboardWindow ui;
    QChartView* chartView() const { return chartView_; }
    // Reads the figures again, up to today.
    void refresh();
    // The figures are being read on a thread (a large file): the ones shown are those of before.
    bool reading() const { return pending_ != nullptr; }
    // Puts the chart on the clipboard as a picture.
    void copyChart();

  private:
    void showFigures(const std::optional<SalesSummary>& s);
    void showChart(const SalesSummary& s);
    void showMonth(const MonthSales& month);
    void showClients(const std::vector<ClientSales>& clients);

    Session& m_;
    QChartView* chartView_;
    // The figures being read on a thread, on a large file.
    std::unique_ptr<BackgroundRead> pending_;
};

DashboardWindow& dashboardWindow(Session& m);
// Opens it beside the editor with the figures of now.
void showDashboard(Session& m);

} // namespace pylon
