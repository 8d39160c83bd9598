#pragma once
// "Produce Energy Usage Reports": the date range in two calendars, the
// report button, and a chart of the energy each channel used over the range.

#include "features/devices/energy_totals.h"

#include <QWidget>

#include <vector>

class QCalendarWidget;
class QLabel;
class QPushButton;
class QChartView;
class QChart;

namespace qv::shell {
class Engine;
}

namespace qv::ui {

class EnergyWindow : public QWidget {
    Q_OBJECT
public:
    explicit EnergyWindow(shell::Engine& engine, QWidget* parent = nullptr);

    // CreateEnergyUsageButton: writes the report for the chosen range.
    void createReport();

private:
    void showTotals(const std::vector<devices::ChannelEnergy>& totals);

    shell::Engine& m_engine;
    QCalendarWidget* m_start;
    QCalendarWidget* m_end;
    QLabel* m_progress;
    QPushButton* m_create;
    QChartView* m_chartView;
};

}  // namespace qv::ui
