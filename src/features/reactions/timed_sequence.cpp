#include "features/reactions/timed_sequence.h"

namespace qv::reactions {

TimedSequence::TimedSequence(const qv::Clock& clock, int intervalMs, QObject* parent)
    : QObject(parent), m_timer(clock.createTimer(intervalMs, [this] { tick(); })) {}

bool TimedSequence::start(std::vector<Step> steps, Step done) {
    if (m_running || steps.empty()) return false;
    m_steps = std::move(steps);
    m_done = std::move(done);
    m_next = 0;
    m_running = true;
    m_timer->start();
    tick();
    return true;
}

void TimedSequence::cancel() {
    m_timer->stop();
    m_running = false;
    m_steps.clear();
    m_done = nullptr;
}

void TimedSequence::tick() {
    if (!m_running) return;
    if (m_next < m_steps.size()) {
        const Step step = m_steps[m_next++];
        step();
        return;
    }
    const Step done = std::move(m_done);
    cancel();
    if (done) done();
}

}  // namespace qv::reactions
