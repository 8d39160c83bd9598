#include "features/devices/sensor_editors.h"

#include "features/devices/messages.h"
#include "features/devices/sensor_interval.h"
#include "features/devices/sensor_rows.h"

#include <cmath>

namespace qv::devices {

namespace {

QString descriptionOrBox(const QString& description, int box) {
    const QString trimmed = description.trimmed();
    return trimmed.isEmpty() ? QStringLiteral("Box %1").arg(box) : trimmed;
}

std::optional<int> boxFrom(const QString& text) {
    bool ok = false;
    const int box = text.trimmed().toInt(&ok);
    if (!ok || box < kFirstSensorBox || box > kLastSensorBox) return std::nullopt;
    return box;
}

SensorChange changeOf(const SensorRow& row, const QDateTime& when, bool descriptionChanged,
                      bool calibrationChanged) {
    return {row.box,           row.description,    row.calibration,    row.lastCalibrated,
            row.logThisSensor, descriptionChanged, calibrationChanged, when};
}

}  // namespace

SensorEditors::SensorEditors(store::Database& main, SensorLogWriter& log, const qv::Clock& clock,
                             std::function<void()> sensorsChanged)
    : m_main(main), m_log(log), m_clock(clock), m_sensorsChanged(std::move(sensorsChanged)) {}

store::Outcome SensorEditors::failed(const QString& what, const std::exception& error) {
    const QString text = QStringLiteral("%1: %2").arg(what, QString::fromUtf8(error.what()));
    return store::Outcome::refused(text);
}

store::Outcome SensorEditors::applyInterval(int seconds) {
    if (seconds < 0 || seconds > kMaxSensorInterval) return store::Outcome::refused(msg::kIntervalRange);
    try {
        writeSensorInterval(m_main, seconds);
    } catch (const std::exception& error) {
        return failed(QStringLiteral("The sensor interval could not be saved"), error);
    }
    if (m_sensorsChanged) m_sensorsChanged();
    return store::Outcome::done(seconds == 0 ? msg::kNoInterval : QString());
}

store::Outcome SensorEditors::addSensor(const QString& boxText, const QString& description) {
    if (boxText.trimmed().isEmpty()) return store::Outcome::refused(msg::kNeedBoxNumber);
    const std::optional<int> box = boxFrom(boxText);
    if (!box) return store::Outcome::refused(msg::kBoxNumberRange);

    SensorRow row;
    row.box = *box;
    row.description = descriptionOrBox(description, *box);
    row.calibration = 1.0;
    row.lastCalibrated = m_clock.now();
    row.logThisSensor = true;
    try {
        if (!insertSensor(m_main, row)) return store::Outcome::refused(msg::kBoxAlreadyEntered);
    } catch (const std::exception& error) {
        return failed(QStringLiteral("The sensor could not be added"), error);
    }
    if (m_sensorsChanged) m_sensorsChanged();
    // The sensor is in; a sensor log that cannot take its copy is reported
    // to the monitor by the writer and said here, but undoes nothing.
    if (!m_log.recordSensorChange(changeOf(row, m_clock.now(), true, true)))
        return store::Outcome::done(m_log.lastError());
    return store::Outcome::done();
}

store::Outcome SensorEditors::saveSensor(int box, const QString& description, const QString& calibrationText,
                                         bool logThisSensor) {
    bool ok = false;
    const double calibration = calibrationText.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(calibration) || calibration <= 0)
        return store::Outcome::refused(msg::kCalibrationNotNumber);

    std::optional<SensorRow> before;
    SensorRow row;
    try {
        before = readSensor(m_main, box);
        if (!before) return store::Outcome::refused(msg::kNoSuchSensor);
        row = *before;
        row.description = descriptionOrBox(description, box);
        row.logThisSensor = logThisSensor;
        if (calibration != before->calibration) {
            row.calibration = calibration;
            row.lastCalibrated = m_clock.now();
        }
        if (!updateSensor(m_main, row)) return store::Outcome::refused(msg::kNoSuchSensor);
    } catch (const std::exception& error) {
        return failed(QStringLiteral("The sensor could not be saved"), error);
    }
    if (m_sensorsChanged) m_sensorsChanged();
    const SensorChange change = changeOf(row, m_clock.now(), row.description != before->description,
                                         row.calibration != before->calibration);
    if (!m_log.recordSensorChange(change)) return store::Outcome::done(m_log.lastError());
    return store::Outcome::done();
}

store::Outcome SensorEditors::deleteSensor(int box) {
    try {
        if (!qv::devices::deleteSensor(m_main, box)) return store::Outcome::refused(msg::kNoSuchSensor);
    } catch (const std::exception& error) {
        return failed(QStringLiteral("The sensor could not be deleted"), error);
    }
    if (m_sensorsChanged) m_sensorsChanged();
    return store::Outcome::done();
}

void NewSensorListener::sensorBoxHeard(int box) {
    if (!m_listening) return;
    m_box = box;
    emit boxNumberHeard(box);
}

}  // namespace qv::devices
