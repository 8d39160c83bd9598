#include "features/reactions/paced_levels.h"

#include <utility>

namespace qv::reactions {

PacedLevels::PacedLevels(const qv::Clock& clock, int intervalMs, Send send, QObject* parent)
    : QObject(parent),
      m_send(std::move(send)),
      m_timer(clock.createTimer(intervalMs, [this] { ScrollIntervalTimer(); })) {}

void PacedLevels::set(int channel, int levelByte) {
    m_pending[channel] = levelByte;
    if (m_timer->isActive()) return;
    flush();
    m_timer->start();
}

void PacedLevels::clear() {
    m_pending.clear();
    m_timer->stop();
}

void PacedLevels::ScrollIntervalTimer() {
    if (m_pending.empty()) {
        m_timer->stop();
        return;
    }
    flush();
}

void PacedLevels::flush() {
    // Taken out first: a send may come back here through the event loop.
    const std::map<int, int> due = std::exchange(m_pending, {});
    for (const auto& [channel, level] : due) m_send(channel, level);
}

}  // namespace qv::reactions
