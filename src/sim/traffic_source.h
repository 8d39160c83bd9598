#pragma once
// Drives unsolicited network traffic at a steady rate: every timer tick it
// asks for the batch that is owed, so high rates leave in a few large writes
// rather than thousands of tiny ones.

#include "sim/rate_budget.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>

namespace qv::sim {

class TrafficSource : public QObject {
    Q_OBJECT
public:
    using Produce = std::function<void(int count)>;

    TrafficSource(double perSecond, Produce produce, QObject* parent = nullptr);

    void start();

private:
    void tick();

    RateBudget m_budget;
    Produce m_produce;
    QTimer m_timer;
    QElapsedTimer m_clock;
};

}  // namespace qv::sim
