#pragma once
// A clock the test moves by hand.

#include "clock/clock.h"

namespace qv::test {

class ManualClock final : public qv::Clock {
public:
    QDateTime now() const override { return m_now.addMSecs(m_ms); }
    qint64 monotonicMs() const override { return m_ms; }
    void advance(qint64 ms) { m_ms += ms; }

private:
    QDateTime m_now{QDate(2024, 3, 9), QTime(14, 30, 0)};
    qint64 m_ms = 1000;
};

}  // namespace qv::test
