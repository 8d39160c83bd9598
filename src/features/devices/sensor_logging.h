#pragma once
// Light-sensor polling and the sensor log: the in-memory sensor data that
// GetSensorstoLog rebuilds, SensorloggingTimer asking one sensor per period,
// the poll step's results in the sensor grid, and the decoder's readings
// appended to TBLSensorLog.
//
// The decoder has already stored each reading's lux in AreaState; a poll sets
// the asked box to -1 there first, so "no answer" is visible at the next step.

#include "clock/clock.h"
#include "comms/decode_reactions.h"
#include "comms/monitor_writer.h"
#include "features/devices/sensor_grid_model.h"
#include "features/devices/sensor_interval.h"
#include "features/devices/sensor_log_writer.h"
#include "net/area_state.h"
#include "net/message.h"
#include "store/database.h"
#include "store/monitor_record.h"

#include <QObject>

#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace qv::devices {

using SendRS232 = std::function<void(const net::RawMessage&)>;

class SensorLogging : public QObject, public comms::DecodeReactions {
    Q_OBJECT
public:
    SensorLogging(store::Database& main, SensorLogWriter& log, net::AreaState& state,
                  store::MonitorSink& monitor, const qv::Clock& clock, SendRS232 send,
                  QObject* parent = nullptr);
    ~SensorLogging() override;

    // Config.enablesensorlog: readings go to TBLSensorLog only while set.
    void setLoggingEnabled(bool enabled) { m_loggingEnabled = enabled; }
    bool loggingEnabled() const { return m_loggingEnabled; }

    // Rebuilds the sensors-to-log list, the per-box description and
    // calibration, the grid and the polling timer from the main database.
    // At start-up and after every change of sensors or interval. A database
    // that cannot be read stops polling, says why on the monitor and gives false.
    bool GetSensorstoLog();

    // Shutdown: no more polls.
    void stop();

    const std::vector<int>& sensorsToLog() const { return m_sensorsToLog; }
    QString description(int box) const;
    double calibration(int box) const;
    int SensorLogMinutes() const { return m_plan.minutes; }
    int SensorLogSeconds() const { return m_plan.seconds; }
    int pollingIntervalMs() const { return m_plan.timerMs; }
    bool isPolling() const;
    int pollingPosition() const { return m_position; }

    SensorGridModel& grid() { return m_grid; }

    // DecodeReactions.
    void sensorReading(const net::SensorReading& reading) override;
    void sensorAnnounced(int box) override { emit sensorBoxHeard(box); }

signals:
    // A sensor announced its box number (for the new-sensor window's listen box).
    void sensorBoxHeard(int box);

private:
    // One tick of SensorloggingTimer.
    void SensorloggingTimer();
    void pollStep();
    void secondsWaitOver();

    store::Database& m_main;
    SensorLogWriter& m_log;
    net::AreaState& m_state;
    comms::MonitorWriter m_monitorWriter;
    const qv::Clock& m_clock;
    SendRS232 m_send;
    std::unique_ptr<qv::Timer> m_timer;        // SensorloggingTimer
    std::unique_ptr<qv::Timer> m_secondsWait;  // the seconds part after the last minute

    std::vector<int> m_sensorsToLog;
    std::array<QString, 256> m_descriptions;
    std::array<double, 256> m_calibrations{};
    std::array<bool, 256> m_asked{};  // polled since the list was last built
    PollingPlan m_plan;
    int m_position = 0;  // 1-based into m_sensorsToLog; 0 = start again
    int m_minuteCount = 0;
    bool m_loggingEnabled = false;
    SensorGridModel m_grid;
};

}  // namespace qv::devices
