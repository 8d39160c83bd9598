#include "features/devices/sensor_logging.h"

#include "features/devices/logging.h"
#include "features/devices/sensor_rows.h"
#include "net/builders.h"

namespace qv::devices {

namespace {

bool validBox(int box) {
    return box >= kFirstSensorBox && box <= kLastSensorBox;
}

}  // namespace

SensorLogging::SensorLogging(store::Database& main, SensorLogWriter& log, net::AreaState& state,
                             store::MonitorSink& monitor, const qv::Clock& clock, SendRS232 send,
                             QObject* parent)
    : QObject(parent),
      m_main(main),
      m_log(log),
      m_state(state),
      m_monitorWriter(monitor, clock, lcDevices),
      m_clock(clock),
      m_send(std::move(send)),
      m_timer(clock.createTimer(0, [this] { SensorloggingTimer(); })),
      m_secondsWait(clock.createSingleShot(0, [this] { secondsWaitOver(); })) {
    m_calibrations.fill(1.0);
}

SensorLogging::~SensorLogging() {
    stop();
}

bool SensorLogging::GetSensorstoLog() {
    stop();
    m_minuteCount = 0;
    std::vector<SensorRow> sensors;
    int interval = 0;
    try {
        m_sensorsToLog = readSensorsToLog(m_main);
        sensors = readSensors(m_main);
        interval = readSensorInterval(m_main);
    } catch (const std::exception& error) {
        m_sensorsToLog.clear();
        m_plan = {};
        m_monitorWriter.error(QStringLiteral("The sensors could not be read, sensor polling is off: %1")
                                  .arg(QString::fromUtf8(error.what())));
        return false;
    }

    m_asked.fill(false);
    for (QString& d : m_descriptions) d.clear();
    m_calibrations.fill(1.0);
    for (const SensorRow& sensor : sensors) {
        if (!validBox(sensor.box)) continue;
        m_descriptions[static_cast<std::size_t>(sensor.box)] = sensor.description;
        m_calibrations[static_cast<std::size_t>(sensor.box)] = sensor.calibration;
    }
    m_grid.setSensors(sensors);

    if (interval > kMaxSensorInterval || interval < 0) {
        m_monitorWriter.warning(
            QStringLiteral("The stored sensor interval %1 is outside 0-30000 seconds; %2 is used")
                .arg(interval)
                .arg(interval < 0 ? 0 : kMaxSensorInterval));
        interval = interval < 0 ? 0 : kMaxSensorInterval;
    }
    m_plan = pollingPlanFor(interval);
    if (!m_sensorsToLog.empty() && m_plan.timerMs > 0) m_timer->start(m_plan.timerMs);
    qCDebug(lcDevices) << "polling" << m_sensorsToLog.size() << "sensors every" << interval << "s";
    return true;
}

void SensorLogging::stop() {
    m_timer->stop();
    m_secondsWait->stop();
}

bool SensorLogging::isPolling() const {
    return m_timer->isActive() || m_secondsWait->isActive();
}

QString SensorLogging::description(int box) const {
    return validBox(box) ? m_descriptions[static_cast<std::size_t>(box)] : QString();
}

double SensorLogging::calibration(int box) const {
    return validBox(box) ? m_calibrations[static_cast<std::size_t>(box)] : 1.0;
}

void SensorLogging::SensorloggingTimer() {
    if (m_plan.minutes > 0) {
        if (++m_minuteCount < m_plan.minutes) return;
        m_minuteCount = 0;
        if (m_plan.seconds > 0) {
            // The minute ticks pause during the wait and start again at the
            // poll, so the period is minutes + seconds, not whole minutes.
            m_timer->stop();
            m_secondsWait->start(m_plan.seconds * 1000);
            return;
        }
    }
    pollStep();
}

void SensorLogging::secondsWaitOver() {
    pollStep();
    if (!m_sensorsToLog.empty() && m_plan.timerMs > 0) m_timer->start(m_plan.timerMs);
}

void SensorLogging::pollStep() {
    const int count = static_cast<int>(m_sensorsToLog.size());
    if (count == 0) return;
    if (m_position <= 0 || m_position > count) m_position = 1;

    // The sensor asked one period ago has had its time to answer. One not
    // asked yet since the list was built has no result to show, and is not
    // marked silent for it.
    const int previous =
        m_sensorsToLog[static_cast<std::size_t>(m_position == 1 ? count - 1 : m_position - 2)];
    if (m_asked[static_cast<std::size_t>(previous)])
        m_grid.showResult(previous, m_state.lux(previous), calibration(previous), m_clock.now());

    const int box = m_sensorsToLog[static_cast<std::size_t>(m_position - 1)];
    m_asked[static_cast<std::size_t>(box)] = true;
    m_state.setLux(box, -1);
    if (const auto request = net::SensorLuxRequest(box)) m_send(*request);
    ++m_position;
}

void SensorLogging::sensorReading(const net::SensorReading& reading) {
    if (!m_loggingEnabled || !validBox(reading.box)) return;
    SensorLogReading row;
    row.box = reading.box;
    row.description = description(reading.box) + QLatin1Char(' ');
    row.lux = reading.lux;
    row.correctedLux = reading.lux * calibration(reading.box);
    row.when = m_clock.now();
    m_log.appendReading(std::move(row));
}

}  // namespace qv::devices
