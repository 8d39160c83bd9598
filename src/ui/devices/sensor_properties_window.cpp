#include "ui/devices/sensor_properties_window.h"

#include "features/devices/messages.h"
#include "features/devices/sensor_editors.h"
#include "features/devices/sensor_logging.h"
#include "features/devices/sensor_properties.h"
#include "features/devices/sensor_rows.h"
#include "shell/engine.h"
#include "shell/feature_set.h"
#include "ui/common/message_box.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace qv::ui {

SensorPropertiesWindow::SensorPropertiesWindow(shell::Engine& engine, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_engine(engine),
      m_properties(new devices::SensorProperties(
          engine.areaState(), engine.features()->clock(),
          [&engine](const net::RawMessage& m) { engine.sendRS232(m); }, this)),
      m_boxLabel(new QLabel(this)),
      m_description(new QLineEdit(this)),
      m_calibration(new QLineEdit(this)),
      m_measured(new QLabel(this)),
      m_actual(new QLineEdit(this)),
      m_log(new QCheckBox(tr("Log this sensor"), this)) {
    shell::FeatureSet& features = *engine.features();
    devices::SensorLogging* logging = &features.sensors();
    m_editors =
        std::make_unique<devices::SensorEditors>(engine.mainDatabase(), features.sensorLog(),
                                                 features.clock(), [logging] { logging->GetSensorstoLog(); });
    setWindowTitle(tr("Sensor Properties"));
    m_boxLabel->setObjectName("boxLabel");
    m_description->setObjectName("descriptionField");
    m_calibration->setObjectName("calibrationField");
    m_measured->setObjectName("measuredLabel");
    m_actual->setObjectName("actualField");
    m_log->setObjectName("logCheck");
    auto* refresh = new QPushButton(tr("Refresh"), this);
    auto* save = new QPushButton(tr("Save"), this);
    auto* remove = new QPushButton(tr("Delete"), this);
    refresh->setObjectName("refreshButton");
    save->setObjectName("saveButton");
    remove->setObjectName("deleteButton");

    auto* layout = new QFormLayout(this);
    layout->addRow(tr("Box number"), m_boxLabel);
    layout->addRow(tr("Location/Description"), m_description);
    layout->addRow(tr("Calibration"), m_calibration);
    layout->addRow(tr("Measured lux"), m_measured);
    layout->addRow(tr("Actual lux"), m_actual);
    layout->addRow(m_log);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(refresh);
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(remove);
    layout->addRow(buttons);
    resize(380, 230);

    connect(refresh, &QPushButton::clicked, this, [this] {
        m_measured->setText(tr("asking..."));
        m_properties->refresh();
    });
    connect(m_properties, &devices::SensorProperties::measured, this, [this] {
        m_measured->setText(m_properties->measuredText());
        m_actual->setText(m_properties->actualText());
    });
    connect(m_actual, &QLineEdit::textEdited, this, [this](const QString& actual) {
        if (const auto calibration = m_properties->setActualLux(actual)) m_calibration->setText(*calibration);
    });
    connect(save, &QPushButton::clicked, this, &SensorPropertiesWindow::save);
    connect(remove, &QPushButton::clicked, this, &SensorPropertiesWindow::remove);
}

SensorPropertiesWindow::~SensorPropertiesWindow() = default;

bool SensorPropertiesWindow::showSensor(int box) {
    std::optional<devices::SensorRow> sensor;
    try {
        sensor = devices::readSensor(m_engine.mainDatabase(), box);
    } catch (const std::exception& error) {
        showMessage(this, BoxKind::Critical, QString::fromUtf8(error.what()));
        return false;
    }
    if (!sensor) {
        showMessage(this, BoxKind::Exclamation, devices::msg::kNoSuchSensor);
        return false;
    }
    m_properties->setSensor(sensor->box, sensor->calibration);
    m_boxLabel->setText(QString::number(sensor->box));
    m_description->setText(sensor->description);
    m_calibration->setText(QString::number(sensor->calibration, 'f', 3));
    m_measured->setText(tr("(Refresh asks the sensor)"));
    m_actual->clear();
    m_log->setChecked(sensor->logThisSensor);
    return true;
}

void SensorPropertiesWindow::save() {
    const store::Outcome outcome = m_editors->saveSensor(m_properties->box(), m_description->text(),
                                                         m_calibration->text(), m_log->isChecked());
    if (!outcome.message.isEmpty())
        showMessage(this, outcome.ok ? BoxKind::Information : BoxKind::Exclamation, outcome.message);
    if (!outcome.ok) return;
    showSensor(m_properties->box());
    emit sensorsChanged();
}

void SensorPropertiesWindow::remove() {
    if (!askYesNo(this, devices::msg::kDeleteSensorQuestion)) return;
    const store::Outcome outcome = m_editors->deleteSensor(m_properties->box());
    if (!outcome.message.isEmpty())
        showMessage(this, outcome.ok ? BoxKind::Information : BoxKind::Exclamation, outcome.message);
    if (!outcome.ok) return;
    emit sensorsChanged();
    close();
}

}  // namespace qv::ui
