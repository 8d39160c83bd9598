#include "ui/devices/new_sensor_window.h"

#include "features/devices/sensor_editors.h"
#include "features/devices/sensor_logging.h"
#include "shell/engine.h"
#include "shell/feature_set.h"
#include "ui/common/message_box.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

namespace qv::ui {

NewSensorWindow::NewSensorWindow(shell::Engine& engine, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_listener(new devices::NewSensorListener(this)),
      m_box(new QLineEdit(this)),
      m_description(new QLineEdit(this)),
      m_listen(new QCheckBox(tr("Listen for a sensor announcing itself"), this)) {
    shell::FeatureSet& features = *engine.features();
    devices::SensorLogging* logging = &features.sensors();
    m_editors =
        std::make_unique<devices::SensorEditors>(engine.mainDatabase(), features.sensorLog(),
                                                 features.clock(), [logging] { logging->GetSensorstoLog(); });
    setWindowTitle(tr("New Sensor"));
    m_box->setObjectName("boxNumberField");
    m_description->setObjectName("descriptionField");
    m_listen->setObjectName("listenCheck");
    auto* save = new QPushButton(tr("Save"), this);
    save->setObjectName("saveButton");
    auto* layout = new QFormLayout(this);
    layout->addRow(tr("Box number"), m_box);
    layout->addRow(tr("Location/Description"), m_description);
    layout->addRow(m_listen);
    layout->addRow(save);
    resize(360, 150);

    connect(logging, &devices::SensorLogging::sensorBoxHeard, m_listener,
            &devices::NewSensorListener::sensorBoxHeard);
    connect(m_listener, &devices::NewSensorListener::boxNumberHeard, this,
            [this](int box) { m_box->setText(QString::number(box)); });
    connect(m_listen, &QCheckBox::toggled, m_listener, &devices::NewSensorListener::setListening);
    connect(save, &QPushButton::clicked, this, &NewSensorWindow::save);
}

NewSensorWindow::~NewSensorWindow() = default;

void NewSensorWindow::save() {
    const store::Outcome outcome = m_editors->addSensor(m_box->text(), m_description->text());
    if (!outcome.message.isEmpty())
        showMessage(this, outcome.ok ? BoxKind::Information : BoxKind::Exclamation, outcome.message);
    if (!outcome.ok) return;
    emit sensorAdded(m_box->text().trimmed().toInt());
    m_box->clear();
    m_description->clear();
}

}  // namespace qv::ui
