#include "net/decoder.h"

#include <algorithm>

namespace qv::net {

namespace {

constexpr std::string_view kDateMarker = "D:";
constexpr std::string_view kOriginMarker = "O:";
constexpr std::size_t kMaxOriginLength = 50;

}  // namespace

InboxLine splitInboxLine(std::string_view line) {
    // The line comes from outside the program: either marker may be missing.
    const std::size_t date = line.find(kDateMarker);
    const std::size_t originFrom = date == std::string_view::npos ? 0 : date + kDateMarker.size();
    const std::size_t origin = line.find(kOriginMarker, originFrom);

    InboxLine parts;
    std::string_view hex = line.substr(0, std::min(date, origin));
    while (!hex.empty() && hex.back() == ' ') hex.remove_suffix(1);
    parts.hex = hex;
    if (date != std::string_view::npos) {
        const std::size_t end = origin == std::string_view::npos ? line.size() : origin;
        parts.dateTime = line.substr(originFrom, end - originFrom);
    }
    if (origin != std::string_view::npos)
        parts.origin = line.substr(origin + kOriginMarker.size(), kMaxOriginLength);
    return parts;
}

std::string makeInboxLine(std::string_view receivedHex, std::string_view dateTime, std::string_view origin) {
    std::string line;
    line.reserve(receivedHex.size() + dateTime.size() + origin.size() + 5);
    line.append(receivedHex).append(" ").append(kDateMarker).append(dateTime);
    line.append(kOriginMarker).append(origin);
    return line;
}

}  // namespace qv::net
