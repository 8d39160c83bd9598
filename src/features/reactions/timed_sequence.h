#pragma once
// Steps spaced in time: the first at once, each next one an interval later,
// and `done` one interval after the last, so that the last step has had its
// time too. Cancelling drops the steps not taken and does not call `done`.

#include "clock/clock.h"

#include <QObject>

#include <functional>
#include <vector>

namespace qv::reactions {

class TimedSequence : public QObject {
    Q_OBJECT
public:
    using Step = std::function<void()>;

    TimedSequence(const qv::Clock& clock, int intervalMs, QObject* parent = nullptr);

    // False (and nothing started) while a sequence is running or without steps.
    bool start(std::vector<Step> steps, Step done);
    void cancel();
    bool running() const { return m_running; }

private:
    void tick();

    std::unique_ptr<qv::Timer> m_timer;
    std::vector<Step> m_steps;
    Step m_done;
    std::size_t m_next = 0;
    bool m_running = false;
};

}  // namespace qv::reactions
