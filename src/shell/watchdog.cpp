#include "shell/watchdog.h"

#include <systemd/sd-daemon.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace qv::shell {

Watchdog::Watchdog(const qv::Clock& clock, QObject* parent)
    : QObject(parent), m_timer(clock.createTimer(kRefreshMs, [this] { WatchDogRefresh(); })) {}

Watchdog::~Watchdog() {
    stop();
}

int Watchdog::refreshMs(bool wanted) {
    if (!std::getenv("NOTIFY_SOCKET")) return 0;
    // systemd asks for pings through WATCHDOG_USEC (and WATCHDOG_PID, when set,
    // naming this process); half its interval keeps a late ping in time.
    uint64_t usec = 0;
    if (sd_watchdog_enabled(0, &usec) > 0 && usec > 0)
        return static_cast<int>(std::clamp<uint64_t>(usec / 2000, 1, kRefreshMs));
    return wanted ? kRefreshMs : 0;
}

bool Watchdog::start(bool wanted) {
    const int interval = refreshMs(wanted);
    if (interval <= 0) return false;
    WatchDogRefresh();
    m_timer->start(interval);
    return true;
}

void Watchdog::stop() {
    if (!m_timer->isActive()) return;
    m_timer->stop();
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
