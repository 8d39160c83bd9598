#pragma once
// The keep-alive for systemd's watchdog: while the event loop turns, a ping
// goes out every 2 s, so a hung program is restarted by the service manager.

#include <QObject>
#include <QTimer>

namespace qv::shell {

class Watchdog : public QObject {
    Q_OBJECT
public:
    static constexpr int kRefreshMs = 2000;

    explicit Watchdog(QObject* parent = nullptr);
    ~Watchdog() override;

    // Starts pinging when asked for and when running under a service manager
    // that watches (NOTIFY_SOCKET and WATCHDOG_USEC set). Returns whether it runs.
    bool start(bool wanted);
    void stop();
    bool running() const { return m_timer.isActive(); }

    // Tells the service manager that start-up is complete (Type=notify).
    static void notifyReady();

private:
    void WatchDogRefresh();
    QTimer m_timer;
};

}  // namespace qv::shell
