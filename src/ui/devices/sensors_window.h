#pragma once
// The light sensors: one row per sensor with its last reading ("???" and a
// red box number when it did not answer), and the polling interval.

#include <QWidget>

#include <memory>

class QLineEdit;
class QTableView;

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

    // Shows the stored interval again.
    void reload();

private:
    void applyInterval();

    shell::Engine& m_engine;
    std::unique_ptr<devices::SensorEditors> m_editors;
    QTableView* m_grid;
    QLineEdit* m_interval;
};

}  // namespace qv::ui
