#pragma once
// When each write to the PC may go out. Writes leave in the order they were
// queued; one may wait for a due time (the network's answer comes a moment
// after the question) or for a gap after the write before it (a message torn
// across two writes). Time is passed in, in milliseconds, so the order and the
// gaps can be checked without a clock.

#include <QByteArray>

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace qv::sim {

class OutputSchedule {
public:
    void push(QByteArray bytes, std::int64_t dueMs, std::int64_t gapAfterPreviousMs = 0);

    // The writes that may go out at nowMs, in order. With merge, writes that
    // go out together become one write, unless one of them asked for a gap.
    std::vector<QByteArray> takeDue(std::int64_t nowMs, bool merge);

    // When the next write may go out; nothing when none is queued.
    std::optional<std::int64_t> nextRelease() const;

    bool empty() const { return m_entries.empty(); }
    void clear();

private:
    struct Entry {
        QByteArray bytes;
        std::int64_t due;
        std::int64_t gap;
    };
    std::int64_t releaseTime(const Entry& entry) const;

    std::deque<Entry> m_entries;
    std::optional<std::int64_t> m_lastRelease;
};

}  // namespace qv::sim
