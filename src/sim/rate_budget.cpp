#include "sim/rate_budget.h"

#include <algorithm>
#include <cmath>

namespace qv::sim {

int RateBudget::take(std::int64_t elapsedMs) {
    if (m_perSecond <= 0.0) return 0;
    const double due = std::floor(static_cast<double>(elapsedMs) * m_perSecond / 1000.0);
    const double cap = std::max(1.0, std::floor(m_perSecond / 4.0));
    double owed = due - m_counted;
    if (owed > cap) {
        m_counted += owed - cap;  // the stall is forgiven, not repaid
        owed = cap;
    }
    if (owed < 1.0) return 0;
    m_counted += owed;
    return static_cast<int>(owed);
}

int RateBudget::tickMs() const {
    if (m_perSecond <= 0.0) return 1000;
    return std::clamp(static_cast<int>(1000.0 / m_perSecond), 5, 100);
}

}  // namespace qv::sim
