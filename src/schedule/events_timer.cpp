#include "schedule/events_timer.h"

#include "clock/clock.h"
#include "schedule/due_keys.h"
#include "schedule/logging.h"

#include <exception>

namespace qv::schedule {

CheckforEventsTimer::CheckforEventsTimer(const qv::Clock& clock, QObject* parent)
    : QObject(parent), m_clock(clock), m_timer(clock.createSingleShot(0, [this] { tick(); })) {}

void CheckforEventsTimer::addMinuteHandler(std::function<void(const QDateTime&)> handler) {
    m_handlers.push_back(std::move(handler));
}

void CheckforEventsTimer::start(int firstIntervalMs) {
    m_timer->start(firstIntervalMs);
}

void CheckforEventsTimer::stop() {
    m_timer->stop();
}

void CheckforEventsTimer::tick() {
    // A handler that waits on the event loop (a macro, a message box) must not
    // see the next tick start inside it.
    if (m_busy) return;
    m_busy = true;
    const QDateTime now = m_clock.now();
    for (const auto& handler : m_handlers) {
        try {
            handler(now);
        } catch (const std::exception& error) {
            // The timer must keep ticking whatever one handler ran into.
            qCWarning(lcSchedule) << "minute handler failed:" << error.what();
        }
    }
    m_busy = false;
    emit minuteTicked(now);
    m_timer->start(msToNextMinute(m_clock.now()));
}

}  // namespace qv::schedule
