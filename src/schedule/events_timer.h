#pragma once
// CheckforEventsTimer: ticks at the start of every minute and hands the
// clock's reading to the minute handlers (schedule firing, calendar
// reminders). The first tick comes 5 s after start(); every tick sets the
// next one to the start of the following minute. A precise timer is used
// because a coarse one may fire up to 5% early, inside the old minute.

#include "clock/clock.h"

#include <QDateTime>
#include <QObject>

#include <functional>
#include <memory>
#include <vector>

namespace qv::schedule {

class CheckforEventsTimer : public QObject {
    Q_OBJECT
public:
    static constexpr int kFirstIntervalMs = 5000;

    explicit CheckforEventsTimer(const qv::Clock& clock, QObject* parent = nullptr);

    // Handlers run in the order added, each with the same reading of the clock.
    void addMinuteHandler(std::function<void(const QDateTime&)> handler);

    void start(int firstIntervalMs = kFirstIntervalMs);
    void stop();
    bool isActive() const { return m_timer->isActive(); }
    int interval() const { return static_cast<int>(m_timer->interval()); }

signals:
    // After the handlers of a tick ran (so a listing shown at once sees what
    // they fired); views refresh on it.
    void minuteTicked(const QDateTime& now);

private:
    // One tick: the handlers, minuteTicked, then the next interval.
    void tick();

    const qv::Clock& m_clock;
    std::unique_ptr<qv::Timer> m_timer;
    std::vector<std::function<void(const QDateTime&)>> m_handlers;
    bool m_busy = false;
};

}  // namespace qv::schedule
