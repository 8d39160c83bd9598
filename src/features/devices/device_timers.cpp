#include "features/devices/device_timers.h"

namespace qv::devices {

namespace {

class QtDeviceTimer final : public DeviceTimer {
public:
    QtDeviceTimer(std::function<void()> onTimeout, bool singleShot) {
        m_timer.setSingleShot(singleShot);
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [callback = std::move(onTimeout)] { callback(); });
    }
    void start(int intervalMs) override { m_timer.start(intervalMs); }
    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }
    int interval() const override { return m_timer.interval(); }

private:
    QTimer m_timer;
};

}  // namespace

std::unique_ptr<DeviceTimer> QtDeviceTimers::create(std::function<void()> onTimeout, bool singleShot) {
    return std::make_unique<QtDeviceTimer>(std::move(onTimeout), singleShot);
}

}  // namespace qv::devices
