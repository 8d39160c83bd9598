#include "features/exchange/sheet_requests.h"

#include "net/labels.h"

#include <algorithm>

namespace qv::exchange {

std::deque<int> SheetRequests::compare(const std::array<QString, 256>& cells) {
    std::deque<int> tooLong;
    for (int area = 1; area <= net::kMaxArea; ++area) {
        const QString& cell = cells.at(static_cast<std::size_t>(area));
        QString& lastSeen = m_lastSeen.at(static_cast<std::size_t>(area));
        if (cell.isEmpty()) {
            lastSeen.clear();
            continue;
        }
        if (cell == lastSeen) continue;
        lastSeen = cell;
        // No macro name is this long; refusing it keeps a pasted block of
        // text from going to the cue.
        if (cell.size() > kMaxRequestChars) {
            tooLong.push_back(area);
            continue;
        }
        put(area, cell);
    }
    return tooLong;
}

void SheetRequests::put(int area, const QString& request) {
    std::erase_if(m_queue, [area](const AreaRequest& r) { return r.area == area; });
    m_queue.push_back(AreaRequest{area, request});
}

std::optional<AreaRequest> SheetRequests::takeNext() {
    if (m_queue.empty()) return std::nullopt;
    AreaRequest next = m_queue.front();
    m_queue.pop_front();
    return next;
}

std::optional<int> SheetRequests::presetOf(const QString& request) {
    constexpr int kMaxPreset = 96;
    bool ok = false;
    const int value = request.trimmed().toInt(&ok, 10);
    if (!ok || value < 1 || value > kMaxPreset) return std::nullopt;
    return value;
}

}  // namespace qv::exchange
