#pragma once
// The sensor tables of the main database: Sensors and SensorInterval.
// Every function throws StoreError when the database cannot be read or written.

#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

namespace qv::store {
class Database;
}

namespace qv::devices {

constexpr int kFirstSensorBox = 1;
constexpr int kLastSensorBox = 255;

struct SensorRow {
    int box = 0;  // SensorBoxNum
    QString description;
    double calibration = 1.0;  // a missing factor reads as 1: no correction
    QDateTime lastCalibrated;
    bool logThisSensor = true;
    bool operator==(const SensorRow&) const = default;
};

// The boxes 1..255 marked for logging, ascending (others cannot be polled).
std::vector<int> readSensorsToLog(store::Database& main);
// Every sensor, as the sensor window lists them: logged sensors first, then by box.
std::vector<SensorRow> readSensors(store::Database& main);
std::optional<SensorRow> readSensor(store::Database& main, int box);

// The polling interval in seconds; 0 when the table has no row.
int readSensorInterval(store::Database& main);
// Replaces the table's one row.
void writeSensorInterval(store::Database& main, int seconds);

// False (and nothing written) when the box is already there.
bool insertSensor(store::Database& main, const SensorRow& row);
// False when the box is not there.
bool updateSensor(store::Database& main, const SensorRow& row);
bool deleteSensor(store::Database& main, int box);

}  // namespace qv::devices
