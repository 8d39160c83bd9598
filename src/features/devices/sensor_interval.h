#pragma once
// The sensor polling interval: how it is split for the polling timer, how
// the interval field's input is checked, and the texts of a reading.

#include <QString>

#include <optional>

namespace qv::devices {

constexpr int kMaxSensorInterval = 30000;  // seconds
constexpr int kMinuteMs = 60000;

// Up to a minute the timer runs at the interval itself and every tick polls.
// Beyond it the timer ticks each minute: after `minutes` ticks the poll waits
// `seconds` more, so the period is exactly the interval. timerMs 0: no polling.
struct PollingPlan {
    int minutes = 0;  // SensorLogMinutes
    int seconds = 0;  // SensorLogSeconds
    int timerMs = 0;
    bool operator==(const PollingPlan&) const = default;
};
PollingPlan pollingPlanFor(int intervalSeconds);

// The interval field: a whole number of seconds 0..30000. Anything else is
// refused with the range message and the field is set to the nearest limit
// (0 for what is not a number).
struct IntervalInput {
    int value = 0;
    QString message;  // empty when accepted
};
IntervalInput checkIntervalInput(const QString& text);

// A corrected reading as the sensor window shows it: rounded to whole lux.
QString luxText(double lux);

// calibration = actual / measured with three decimals ("1.500"); nothing
// when the measured lux is not above 0 or the actual text is not a number.
std::optional<QString> calibrationText(const QString& actualLux, int measuredLux);

}  // namespace qv::devices
