#include "features/devices/sensor_interval.h"

#include "features/devices/messages.h"

#include <cmath>

namespace qv::devices {

PollingPlan pollingPlanFor(int intervalSeconds) {
    // A zero-interval Qt timer would fire on every pass of the event loop:
    // 0 means no polling, never "as fast as possible".
    if (intervalSeconds <= 0) return {};
    if (intervalSeconds <= 60) return {0, 0, intervalSeconds * 1000};
    return {intervalSeconds / 60, intervalSeconds % 60, kMinuteMs};
}

IntervalInput checkIntervalInput(const QString& text) {
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok);
    if (!ok) return {0, msg::kIntervalRange};
    if (value > kMaxSensorInterval) return {kMaxSensorInterval, msg::kIntervalRange};
    if (value < 0) return {0, msg::kIntervalRange};
    return {static_cast<int>(value), {}};
}

QString luxText(double lux) {
    // Half away from zero, as the display format always rounded.
    return QString::number(static_cast<qlonglong>(std::llround(lux)));
}

std::optional<QString> calibrationText(const QString& actualLux, int measuredLux) {
    if (measuredLux <= 0) return std::nullopt;
    bool ok = false;
    const double actual = actualLux.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(actual) || actual < 0) return std::nullopt;
    return QString::number(actual / measuredLux, 'f', 3);
}

}  // namespace qv::devices
