#pragma once
// The keep-alive for systemd's watchdog: while the event loop turns, a ping
// goes out every 2 s (or sooner when systemd's interval asks for it), so a
// hung program is restarted by the service manager.

#include "clock/clock.h"

#include <QObject>

#include <memory>

namespace qv::shell {

class Watchdog : public QObject {
    Q_OBJECT
public:
    static constexpr int kRefreshMs = 2000;

    explicit Watchdog(const qv::Clock& clock, QObject* parent = nullptr);
    ~Watchdog() override;

    // Starts pinging when the service manager watches the program
    // (WATCHDOG_USEC set), or when the per-user setting asks for it under a
    // service manager (NOTIFY_SOCKET set). Returns whether it runs.
    bool start(bool wanted);
    // The ping interval start would use: 2 s, or half of systemd's watchdog
    // interval when that is shorter; 0 for no pings.
    static int refreshMs(bool wanted);
    int interval() const { return static_cast<int>(m_timer->interval()); }
    void stop();
    bool running() const { return m_timer->isActive(); }

    // Tells the service manager that start-up is complete (Type=notify).
    static void notifyReady();

private:
    void WatchDogRefresh();
    std::unique_ptr<qv::Timer> m_timer;
};

}  // namespace qv::shell
