#include "shell/send_argument.h"

#include <cctype>
#include <vector>

namespace qv::shell {

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

SendArgument parseSendArgument(std::string_view text) {
    std::vector<std::uint8_t> bytes;
    std::size_t i = 0;
    while (i < text.size()) {
        if (std::isspace(static_cast<unsigned char>(text[i]))) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && !std::isspace(static_cast<unsigned char>(text[end]))) ++end;
        const std::string_view group = text.substr(i, end - i);
        if (group.size() > 2 || hexValue(group[0]) < 0 || (group.size() == 2 && hexValue(group[1]) < 0))
            return {std::nullopt, "'" + std::string(group) + "' is not a hex byte"};
        int value = hexValue(group[0]);
        if (group.size() == 2) value = value * 16 + hexValue(group[1]);
        bytes.push_back(static_cast<std::uint8_t>(value));
        i = end;
    }
    if (bytes.size() == net::kMessageSize - 1) {
        net::SevenBytes seven;
        std::copy(bytes.begin(), bytes.end(), seven.begin());
        return {net::withChecksum(seven), {}};
    }
    if (bytes.size() == net::kMessageSize) {
        net::RawMessage message;
        std::copy(bytes.begin(), bytes.end(), message.begin());
        return {message, {}};
    }
    return {std::nullopt,
            "a message is 7 hex bytes (the checksum is added) or 8, not " + std::to_string(bytes.size())};
}

}  // namespace qv::shell
