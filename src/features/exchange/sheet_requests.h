#pragma once
// The requests typed into the area status file, between the compare step
// that finds them and the request step that carries them out.
//
// At most one request waits per area: a newer one for the same area
// replaces it and goes to the back of the queue. A cell is taken only when
// it differs from the last request seen for its area, so a cell the program
// failed to clear is not carried out again every second; once the cell has
// been seen empty, the same request may be typed again.

#include <QString>

#include <array>
#include <deque>
#include <optional>

namespace qv::exchange {

struct AreaRequest {
    int area = 0;
    QString request;
    bool operator==(const AreaRequest&) const = default;
};

class SheetRequests {
public:
    static constexpr int kMaxRequestChars = 255;

    // comparetimer: one pass over the request cells of areas 1..255.
    // Returns the areas whose request was refused for its length.
    std::deque<int> compare(const std::array<QString, 256>& cells);

    // RequestsTimer: the oldest waiting request, removed from the queue.
    std::optional<AreaRequest> takeNext();

    std::size_t pending() const { return m_queue.size(); }

    // A request 1..96 is a preset for the area; anything else names a macro.
    static std::optional<int> presetOf(const QString& request);

private:
    void put(int area, const QString& request);

    std::array<QString, 256> m_lastSeen;
    std::deque<AreaRequest> m_queue;
};

}  // namespace qv::exchange
