#pragma once
// Wall time, monotonic time and timers, injected so that logic never asks the
// machine directly and tests can drive time by hand.

#include <QDateTime>
#include <QElapsedTimer>

#include <functional>
#include <memory>

namespace qv {

// A timer made by a Clock. Its callback runs on every timeout, or once per
// start() when it is single-shot.
class Timer {
public:
    virtual ~Timer() = default;
    // (Re)starts the timer: a pending wait is forgotten.
    virtual void start(qint64 intervalMs) = 0;
    void start() { start(interval()); }
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
    virtual qint64 interval() const = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    // Local wall time, for the date-time texts of in-box lines and records.
    virtual QDateTime now() const = 0;
    // Milliseconds from an arbitrary start; never goes back.
    virtual qint64 monotonicMs() const = 0;
    // now() as dateTimeText() writes it; the system clock keeps one text per
    // second, since turning the time into local time costs a look at the
    // time-zone file, and every message heard needs the text.
    virtual QString nowText() const;
    // Precise Qt timers on the calling thread unless a clock says otherwise.
    // A timer never calls back after it is destroyed.
    virtual std::unique_ptr<Timer> createTimer(qint64 intervalMs, std::function<void()> onTimeout,
                                               bool singleShot = false) const;
    std::unique_ptr<Timer> createSingleShot(qint64 intervalMs, std::function<void()> onTimeout) const {
        return createTimer(intervalMs, std::move(onTimeout), true);
    }
};

class SystemClock final : public Clock {
public:
    SystemClock() { m_started.start(); }
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    qint64 monotonicMs() const override { return m_started.elapsed(); }
    QString nowText() const override;

private:
    QElapsedTimer m_started;
    mutable qint64 m_textSecond = -1;
    mutable QString m_text;
};

// The date-time text every record and in-box line carries.
inline QString dateTimeText(const QDateTime& when) {
    return when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

}  // namespace qv
