#include "sim/traffic_source.h"

namespace qv::sim {

TrafficSource::TrafficSource(double perSecond, Produce produce, QObject* parent)
    : QObject(parent), m_budget(perSecond), m_produce(std::move(produce)) {
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(m_budget.tickMs());
    connect(&m_timer, &QTimer::timeout, this, &TrafficSource::tick);
}

void TrafficSource::start() {
    m_clock.start();
    m_timer.start();
}

void TrafficSource::tick() {
    if (const int count = m_budget.take(m_clock.elapsed()); count > 0) m_produce(count);
}

}  // namespace qv::sim
