#include "features/devices/sensor_properties.h"

#include "features/devices/messages.h"
#include "features/devices/sensor_interval.h"
#include "net/builders.h"

namespace qv::devices {

SensorProperties::SensorProperties(net::AreaState& state, const qv::Clock& clock, SendRS232 send,
                                   QObject* parent)
    : QObject(parent),
      m_state(state),
      m_send(std::move(send)),
      m_checkTimer(clock.createSingleShot(0, [this] { check(); })) {}

void SensorProperties::setSensor(int box, double calibration) {
    m_checkTimer->stop();
    m_box = box;
    m_calibration = calibration;
    m_measured = m_state.lux(box);
}

void SensorProperties::refresh() {
    const auto request = net::SensorLuxRequest(m_box);
    if (!request) return;
    m_state.setLux(m_box, -1);
    m_send(*request);
    m_checkTimer->start(kCheckMs);
}

void SensorProperties::check() {
    m_measured = m_state.lux(m_box);
    emit measured(m_measured);
}

QString SensorProperties::measuredText() const {
    return m_measured < 0 ? msg::kNoAnswer : QString::number(m_measured);
}

QString SensorProperties::actualText() const {
    return m_measured < 0 ? QString() : luxText(m_measured * m_calibration);
}

std::optional<QString> SensorProperties::setActualLux(const QString& actual) {
    std::optional<QString> text = calibrationText(actual, m_measured);
    if (text) m_calibration = text->toDouble();
    return text;
}

}  // namespace qv::devices
