#include "sim/output_schedule.h"

#include <algorithm>

namespace qv::sim {

void OutputSchedule::push(QByteArray bytes, std::int64_t dueMs, std::int64_t gapAfterPreviousMs) {
    m_entries.push_back({std::move(bytes), dueMs, gapAfterPreviousMs});
}

std::int64_t OutputSchedule::releaseTime(const Entry& entry) const {
    if (!m_lastRelease || entry.gap <= 0) return entry.due;
    return std::max(entry.due, *m_lastRelease + entry.gap);
}

std::vector<QByteArray> OutputSchedule::takeDue(std::int64_t nowMs, bool merge) {
    std::vector<QByteArray> writes;
    while (!m_entries.empty() && releaseTime(m_entries.front()) <= nowMs) {
        Entry& head = m_entries.front();
        if (merge && !writes.empty() && head.gap <= 0)
            writes.back().append(head.bytes);
        else
            writes.push_back(std::move(head.bytes));
        m_lastRelease = nowMs;
        m_entries.pop_front();
    }
    return writes;
}

std::optional<std::int64_t> OutputSchedule::nextRelease() const {
    if (m_entries.empty()) return std::nullopt;
    return releaseTime(m_entries.front());
}

void OutputSchedule::clear() {
    m_entries.clear();
    m_lastRelease.reset();
}

}  // namespace qv::sim
