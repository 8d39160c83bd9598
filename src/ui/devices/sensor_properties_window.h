#pragma once
// SensorPropertiesForm: one sensor's description, calibration, measured and
// actual (reference) lux and log tick; Refresh, Save, Delete.

#include <QWidget>

#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace qv::shell {
class Engine;
}
namespace qv::devices {
class SensorEditors;
class SensorProperties;
}  // namespace qv::devices

namespace qv::ui {

class SensorPropertiesWindow : public QWidget {
    Q_OBJECT
public:
    explicit SensorPropertiesWindow(shell::Engine& engine, QWidget* parent = nullptr);
    ~SensorPropertiesWindow() override;

    // Shows the stored sensor; false (and a message) when it is not there.
    bool showSensor(int box);

signals:
    void sensorsChanged();

private:
    void save();
    void remove();

    shell::Engine& m_engine;
    std::unique_ptr<devices::SensorEditors> m_editors;
    devices::SensorProperties* m_properties;
    QLabel* m_boxLabel;
    QLineEdit* m_description;
    QLineEdit* m_calibration;
    QLabel* m_measured;
    QLineEdit* m_actual;
    QCheckBox* m_log;
};

}  // namespace qv::ui
