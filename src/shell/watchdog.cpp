#include "shell/watchdog.h"

#include <systemd/sd-daemon.h>

#include <cstdlib>

namespace qv::shell {

Watchdog::Watchdog(QObject* parent) : QObject(parent) {
    m_timer.setInterval(kRefreshMs);
    connect(&m_timer, &QTimer::timeout, this, &Watchdog::WatchDogRefresh);
}

Watchdog::~Watchdog() { stop(); }

bool Watchdog::start(bool wanted) {
    if (!wanted || !std::getenv("NOTIFY_SOCKET") || !std::getenv("WATCHDOG_USEC")) return false;
    WatchDogRefresh();
    m_timer.start();
    return true;
}

void Watchdog::stop() {
    if (!m_timer.isActive()) return;
    m_timer.stop();
    sd_notify(0, "STOPPING=1");
}

void Watchdog::WatchDogRefresh() {
    // A failed ping is not the program's problem; the manager will notice.
    sd_notify(0, "WATCHDOG=1");
}

void Watchdog::notifyReady() {
    if (std::getenv("NOTIFY_SOCKET")) sd_notify(0, "READY=1");
}

}  // namespace qv::shell
