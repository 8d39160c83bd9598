#include "net/message.h"

#include <algorithm>
#include <numeric>

namespace qv::net {

namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

// Byte i sits in the three characters from 3*i: two digits and the separator.
// The group may be cut short at the end of the text; spaces around the digits
// do not count, but anything else that is not a digit spoils the group.
std::optional<std::uint8_t> byteAt(std::string_view text, std::size_t i) {
    const std::size_t start = 3 * i;
    if (start >= text.size()) return std::nullopt;
    std::string_view group = text.substr(start, 3);
    while (!group.empty() && group.front() == ' ') group.remove_prefix(1);
    while (!group.empty() && group.back() == ' ') group.remove_suffix(1);
    if (group.empty() || group.size() > 2) return std::nullopt;
    int value = 0;
    for (char c : group) {
        const int digit = hexDigitValue(c);
        if (digit < 0) return std::nullopt;
        value = value * 16 + digit;
    }
    return static_cast<std::uint8_t>(value);
}

template <std::size_t N>
std::optional<std::array<std::uint8_t, N>> parseBytes(std::string_view hex) {
    std::array<std::uint8_t, N> bytes{};
    for (std::size_t i = 0; i < N; ++i) {
        const auto byte = byteAt(hex, i);
        if (!byte) return std::nullopt;
        bytes[i] = *byte;
    }
    return bytes;
}

}  // namespace

std::uint8_t checksum(const std::uint8_t* bytes, std::size_t count) {
    const unsigned sum = std::accumulate(bytes, bytes + count, 0u);
    return static_cast<std::uint8_t>(0u - sum);
}

RawMessage withChecksum(const SevenBytes& bytes) {
    RawMessage message{};
    std::copy(bytes.begin(), bytes.end(), message.begin());
    message[kMessageSize - 1] = checksum(bytes.data(), bytes.size());
    return message;
}

bool hasValidChecksum(const RawMessage& message) {
    return checksum(message.data()) == message[kMessageSize - 1];
}

bool isFramable(const RawMessage& message) {
    return (message[0] == kAreaSync || message[0] == kBoxSync) && hasValidChecksum(message);
}

std::string toHex(const RawMessage& message) {
    std::string text = toReceivedHex(message.data(), message.size());
    text.pop_back();
    return text;
}

std::string toReceivedHex(const std::uint8_t* bytes, std::size_t count) {
    std::string text;
    text.reserve(3 * count);
    for (std::size_t i = 0; i < count; ++i) {
        text += hexByte(bytes[i]);
        text += ' ';
    }
    return text;
}

std::optional<SevenBytes> parseSevenBytes(std::string_view hex) {
    return parseBytes<kMessageSize - 1>(hex);
}

std::optional<RawMessage> parseRawMessage(std::string_view hex) {
    return parseBytes<kMessageSize>(hex);
}

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string hexDigits(unsigned value) {
    std::string text;
    do {
        text.insert(text.begin(), kDigits[value % 16]);
        value /= 16;
    } while (value != 0);
    return text;
}

std::string hexByte(std::uint8_t value) {
    return {kDigits[value >> 4], kDigits[value & 0x0F]};
}

}  // namespace qv::net
