#pragma once
// The light sensors: one row per sensor with its last reading ("???" and a
// red box number when it did not answer), the polling interval, and a chart
// of the corrected lux each sensor logged over the last day.

#include <QWidget>

#include <memory>

class QChartView;
class QLineEdit;
class QTableView;
class QTimer;

namespace qv::shell {
class Engine;
}
namespace qv::devices {
class SensorEditors;
}

namespace qv::ui {

class SensorsWindow : public QWidget {
    Q_OBJECT
public:
    explicit SensorsWindow(shell::Engine& engine, QWidget* parent = nullptr);
    ~SensorsWindow() override;

    // Shows the stored interval and the chart again.
    void reload();
    void refreshChart();

signals:
    // A row was double-clicked (its box), or "New sensor" pressed.
    void sensorChosen(int box);
    void newSensorAsked();

private:
    void applyInterval();

    shell::Engine& m_engine;
    std::unique_ptr<devices::SensorEditors> m_editors;
    QTableView* m_grid;
    QLineEdit* m_interval;
    QChartView* m_chart;
    QTimer* m_chartDue;
};

}  // namespace qv::ui
