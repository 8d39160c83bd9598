#pragma once
// The timers a macro processor waits on for its delay lines. The program
// uses Qt timers; tests use a manual clock that jumps, so a 99-hour delay
// takes no time to test.

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

namespace qv::macros {

// A one-shot timer. start() replaces a pending wait; stop() forgets it.
class DelayTimer {
public:
    virtual ~DelayTimer() = default;
    virtual void start(qint64 ms, std::function<void()> onTimeout) = 0;
    virtual void stop() = 0;
};

class DelayTimers {
public:
    virtual ~DelayTimers() = default;
    virtual std::unique_ptr<DelayTimer> create() = 0;
};

// Precise Qt timers on the calling thread. Waits longer than a QTimer can
// hold are made of several.
class QtDelayTimers final : public DelayTimers {
public:
    std::unique_ptr<DelayTimer> create() override;
};

}  // namespace qv::macros
