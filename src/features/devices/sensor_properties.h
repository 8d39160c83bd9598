#pragma once
// SensorPropertiesForm's live part: Refresh asks the sensor for its lux and,
// kCheckMs later, shows what arrived; the actual (reference) lux typed by
// the user gives the calibration, and a new measurement shows the actual lux
// the current calibration makes of it.

#include "clock/clock.h"
#include "features/devices/sensor_logging.h"
#include "net/area_state.h"

#include <QObject>

#include <memory>
#include <optional>

namespace qv::devices {

class SensorProperties : public QObject {
    Q_OBJECT
public:
    static constexpr int kCheckMs = 500;

    SensorProperties(net::AreaState& state, const qv::Clock& clock, SendRS232 send,
                     QObject* parent = nullptr);

    void setSensor(int box, double calibration);
    int box() const { return m_box; }

    // Sends the lux request. The box's lux is set to -1 first, so a sensor
    // that stays silent shows "???" instead of an older reading.
    void refresh();

    // -1 until a reading arrived.
    int measuredLux() const { return m_measured; }
    QString measuredText() const;
    // measured x calibration, rounded; empty without a measurement.
    QString actualText() const;
    // The calibration the typed actual lux gives ("0.000"), which is kept for
    // actualText; nothing when there is no measurement above 0.
    std::optional<QString> setActualLux(const QString& actual);
    double calibration() const { return m_calibration; }

signals:
    // The check timer has read the sensor's lux.
    void measured(int lux);

private:
    void check();

    net::AreaState& m_state;
    SendRS232 m_send;
    std::unique_ptr<qv::Timer> m_checkTimer;
    int m_box = 0;
    double m_calibration = 1.0;
    int m_measured = -1;
};

}  // namespace qv::devices
