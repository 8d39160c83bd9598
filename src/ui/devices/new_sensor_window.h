#pragma once
// AddNewSensorForm: a box number (typed, or heard while listening), a
// description, Save.

#include <QWidget>

#include <memory>

class QCheckBox;
class QLineEdit;

namespace qv::shell {
class Engine;
}
namespace qv::devices {
class NewSensorListener;
class SensorEditors;
}  // namespace qv::devices

namespace qv::ui {

class NewSensorWindow : public QWidget {
    Q_OBJECT
public:
    explicit NewSensorWindow(shell::Engine& engine, QWidget* parent = nullptr);
    ~NewSensorWindow() override;

    void save();

signals:
    void sensorAdded(int box);

private:
    std::unique_ptr<devices::SensorEditors> m_editors;
    devices::NewSensorListener* m_listener;
    QLineEdit* m_box;
    QLineEdit* m_description;
    QCheckBox* m_listen;
};

}  // namespace qv::ui
