#include "clock/clock.h"

#include <QTimer>

#include <algorithm>

namespace qv {

namespace {

// Waits longer than a QTimer's int holds are made of several pieces.
class QtTimer final : public Timer {
public:
    QtTimer(qint64 intervalMs, std::function<void()> onTimeout, bool singleShot)
        : m_onTimeout(std::move(onTimeout)), m_singleShot(singleShot), m_interval(intervalMs) {
        m_timer.setSingleShot(true);
        // A coarse timer may be 5 % late: three seconds on a one-minute tick.
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { onTick(); });
    }
    void start(qint64 intervalMs) override {
        m_interval = std::max<qint64>(intervalMs, 0);
        m_remaining = m_interval;
        m_active = true;
        arm();
    }
    void stop() override {
        m_timer.stop();
        m_active = false;
    }
    bool isActive() const override { return m_active; }
    qint64 interval() const override { return m_interval; }

private:
    static constexpr qint64 kLongestPiece = 24LL * 3600 * 1000;

    void arm() {
        const qint64 piece = std::min(m_remaining, kLongestPiece);
        m_remaining -= piece;
        m_timer.start(static_cast<int>(piece));
    }
    void onTick() {
        if (m_remaining > 0) return arm();
        if (m_singleShot) {
            m_active = false;
        } else {
            m_remaining = m_interval;
            arm();
        }
        m_onTimeout();  // may restart, stop or destroy this timer: nothing after it
    }

    QTimer m_timer;
    std::function<void()> m_onTimeout;
    bool m_singleShot;
    qint64 m_interval;
    bool m_active = false;
    qint64 m_remaining = 0;
};

}  // namespace

std::unique_ptr<Timer> Clock::createTimer(qint64 intervalMs, std::function<void()> onTimeout,
                                          bool singleShot) const {
    return std::make_unique<QtTimer>(intervalMs, std::move(onTimeout), singleShot);
}

QString Clock::nowText() const {
    return dateTimeText(now());
}

QString SystemClock::nowText() const {
    // The seconds since the epoch come without a time-zone look-up; the text
    // is made again only when they change.
    const qint64 second = QDateTime::currentSecsSinceEpoch();
    if (second != m_textSecond) {
        m_text = dateTimeText(QDateTime::fromSecsSinceEpoch(second));
        m_textSecond = second;
    }
    return m_text;
}

}  // namespace qv
