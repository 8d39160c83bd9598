#pragma once
// The timers the devices engine waits on (sensor polling, roll call, channel
// requests, the sensor window's check). The program uses Qt timers; tests
// hand in a manual set that jumps time, so a two-minute polling period takes
// no time to test.

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

namespace qv::devices {

class DeviceTimer {
public:
    virtual ~DeviceTimer() = default;
    // (Re)starts the timer: a pending wait is forgotten.
    virtual void start(int intervalMs) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
    virtual int interval() const = 0;
};

class DeviceTimers {
public:
    virtual ~DeviceTimers() = default;
    // onTimeout runs on every timeout, or once per start() when singleShot.
    virtual std::unique_ptr<DeviceTimer> create(std::function<void()> onTimeout, bool singleShot = false) = 0;
};

// Qt timers on the calling thread. Precise: a coarse timer may be 5 % late,
// three seconds on a one-minute polling tick.
class QtDeviceTimers final : public DeviceTimers {
public:
    std::unique_ptr<DeviceTimer> create(std::function<void()> onTimeout, bool singleShot = false) override;
};

}  // namespace qv::devices
