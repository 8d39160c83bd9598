#include "macros/delay_timers.h"

#include <algorithm>

namespace qv::macros {

namespace {

class QtDelayTimer final : public DelayTimer {
public:
    QtDelayTimer() {
        m_timer.setSingleShot(true);
        // Delays of a second or so must come on time, not within 5 %.
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { onTick(); });
    }

    void start(qint64 ms, std::function<void()> onTimeout) override {
        m_onTimeout = std::move(onTimeout);
        m_remaining = std::max<qint64>(ms, 0);
        arm();
    }

    void stop() override {
        m_timer.stop();
        m_onTimeout = nullptr;
    }

private:
    static constexpr qint64 kLongestPiece = 24LL * 3600 * 1000;  // well inside a QTimer's int

    void arm() {
        const qint64 piece = std::min(m_remaining, kLongestPiece);
        m_remaining -= piece;
        m_timer.start(static_cast<int>(piece));
    }

    void onTick() {
        if (m_remaining > 0) {
            arm();
            return;
        }
        // The callback may start this timer again; take it out first.
        auto callback = std::move(m_onTimeout);
        m_onTimeout = nullptr;
        if (callback) callback();
    }

    QTimer m_timer;
    qint64 m_remaining = 0;
    std::function<void()> m_onTimeout;
};

}  // namespace

std::unique_ptr<DelayTimer> QtDelayTimers::create() {
    return std::make_unique<QtDelayTimer>();
}

}  // namespace qv::macros
