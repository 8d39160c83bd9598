#pragma once
// A clock the test moves by hand. Its timers fire only in advance(), in time
// order, with the clock standing at each firing, so a two-minute period or a
// 99-hour delay takes no real time and no test depends on the machine's speed.

#include "clock/clock.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace qv::test {

class ManualClock : public qv::Clock {
public:
    explicit ManualClock(QDateTime start = {QDate(2024, 3, 9), QTime(14, 30, 0)}, qint64 ms = 0)
        : m_start(std::move(start)), m_ms(ms) {}

    QDateTime now() const override { return m_start.addMSecs(m_ms); }
    qint64 monotonicMs() const override { return m_ms; }
    void setStart(const QDateTime& start) { m_start = start; }

    std::unique_ptr<qv::Timer> createTimer(qint64 intervalMs, std::function<void()> onTimeout,
                                           bool singleShot) const override {
        auto state = std::make_shared<State>(State{std::move(onTimeout), singleShot});
        state->interval = intervalMs;
        m_states.push_back(state);
        return std::make_unique<Timer>(state, *this);
    }

    // Moves time on by ms, firing every timer that falls due on the way.
    void advance(qint64 ms) {
        const qint64 target = m_ms + ms;
        for (;;) {
            std::erase_if(m_states, [](const auto& s) { return !s->alive; });
            std::shared_ptr<State> next;
            for (const auto& s : m_states)
                if (s->alive && s->active && s->due <= target &&
                    (!next || s->due < next->due || (s->due == next->due && s->order < next->order)))
                    next = s;
            if (!next) break;
            m_ms = std::max(m_ms, next->due);  // a timer overdue after stall() fires now
            if (next->singleShot)
                next->active = false;
            else
                next->due += std::max<qint64>(next->interval, 1);
            auto callback = next->onTimeout;  // the callback may destroy its timer
            callback();
        }
        m_ms = target;
    }

    // Moves time on by ms with no timer firing, as when the event loop is held
    // up; the next advance() fires what fell due.
    void stall(qint64 ms) { m_ms += ms; }

    int activeTimers() const {
        return static_cast<int>(std::count_if(m_states.begin(), m_states.end(),
                                              [](const auto& s) { return s->alive && s->active; }));
    }

private:
    struct State {
        std::function<void()> onTimeout;
        bool singleShot = false;
        bool active = false;
        bool alive = true;
        qint64 interval = 0;
        qint64 due = 0;
        quint64 order = 0;
    };
    class Timer final : public qv::Timer {
    public:
        Timer(std::shared_ptr<State> state, const ManualClock& clock)
            : m_state(std::move(state)), m_clock(clock) {}
        ~Timer() override { m_state->alive = false; }
        void start(qint64 ms) override {
            m_state->active = true;
            m_state->interval = ms;
            m_state->due = m_clock.m_ms + ms;
            m_state->order = ++m_clock.m_starts;
        }
        void stop() override { m_state->active = false; }
        bool isActive() const override { return m_state->active; }
        qint64 interval() const override { return m_state->interval; }

    private:
        std::shared_ptr<State> m_state;
        const ManualClock& m_clock;
    };

    QDateTime m_start;
    qint64 m_ms;
    mutable std::vector<std::shared_ptr<State>> m_states;
    mutable quint64 m_starts = 0;
};

}  // namespace qv::test
