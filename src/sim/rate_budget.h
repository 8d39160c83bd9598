#pragma once
// How many messages a source owes after some time at a given rate. Rates
// below one per timer tick accumulate; a stall (a suspended process, a busy
// machine) does not turn into a burst larger than a quarter second's worth.

#include <cstdint>

namespace qv::sim {

class RateBudget {
public:
    explicit RateBudget(double perSecond) : m_perSecond(perSecond) {}

    // Messages to send now, given the milliseconds since the source started.
    int take(std::int64_t elapsedMs);

    // The timer tick that suits the rate: short enough to spread a high rate
    // into small batches, long enough not to spin for a slow one.
    int tickMs() const;

private:
    double m_perSecond;
    // Counted against the total due since the start rather than summed tick
    // by tick, so rounding never loses or gains a message.
    double m_counted = 0.0;
};

}  // namespace qv::sim
