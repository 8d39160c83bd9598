#pragma once
// The logic of the sensor windows: the interval field of SensorForm, saving
// in AddNewSensorForm, and saving and deleting in SensorPropertiesForm. Each
// change goes to Sensors in the main database, to the copy and history in
// the sensor log, and then rebuilds the polling (GetSensorstoLog).

#include "clock/clock.h"
#include "features/devices/sensor_log_writer.h"
#include "store/database.h"
#include "store/outcome.h"

#include <QObject>

#include <functional>

namespace qv::devices {

class SensorEditors {
public:
    // sensorsChanged: GetSensorstoLog of the running SensorLogging.
    SensorEditors(store::Database& main, SensorLogWriter& log, const qv::Clock& clock,
                  std::function<void()> sensorsChanged);

    // Stores the interval (seconds 0..30000; checkIntervalInput first). 0 is
    // accepted with the note that logging is off.
    store::Outcome applyInterval(int seconds);

    // AddNewSensorForm's save. A new sensor has calibration 1, is calibrated
    // now and is logged; an empty description becomes "Box " + number.
    store::Outcome addSensor(const QString& boxText, const QString& description);

    // SensorPropertiesForm's save. calibrationText as shown ("1.500").
    store::Outcome saveSensor(int box, const QString& description, const QString& calibrationText,
                              bool logThisSensor);

    // SensorPropertiesForm's delete, once the user has said yes to
    // msg::kDeleteSensorQuestion. The sensor log keeps its readings and copy.
    store::Outcome deleteSensor(int box);

private:
    store::Outcome failed(const QString& what, const std::exception& error);

    store::Database& m_main;
    SensorLogWriter& m_log;
    const qv::Clock& m_clock;
    std::function<void()> m_sensorsChanged;
};

// AddNewSensorForm's listen box: while ticked, the box number of any sensor
// announcing itself is taken.
class NewSensorListener : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    void setListening(bool listening) { m_listening = listening; }
    bool isListening() const { return m_listening; }
    int boxNumber() const { return m_box; }

    // Connect SensorLogging::sensorBoxHeard here.
    void sensorBoxHeard(int box);

signals:
    void boxNumberHeard(int box);

private:
    bool m_listening = false;
    int m_box = 0;
};

}  // namespace qv::devices
