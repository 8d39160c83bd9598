#pragma once
// The two forms of a network message and the checksum.
//
// A raw message is the eight bytes in wire order. A hex message is the same
// bytes as text: two upper-case digits a byte, separated by single spaces
// ("1C 01 68 07 00 00 42 32"). Nothing here knows about Qt or the event loop.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::net {

constexpr std::size_t kMessageSize = 8;
constexpr std::uint8_t kAreaSync = 0x1C;
constexpr std::uint8_t kBoxSync = 0x5C;

using RawMessage = std::array<std::uint8_t, kMessageSize>;
using SevenBytes = std::array<std::uint8_t, kMessageSize - 1>;

// (-(b0 + ... + b6)) mod 256.
std::uint8_t checksum(const std::uint8_t* bytes, std::size_t count = kMessageSize - 1);

// Appends the checksum to seven bytes.
RawMessage withChecksum(const SevenBytes& bytes);

// True when byte 7 is the checksum of bytes 0..6.
bool hasValidChecksum(const RawMessage& message);

// True when the message starts with a sync byte (1C or 5C) and its checksum holds.
bool isFramable(const RawMessage& message);

// "1C 01 68 07 00 00 42 32": no trailing space.
std::string toHex(const RawMessage& message);

// The receive path's form: every byte as two digits followed by a space, so the
// text carries one trailing space. Takes any number of bytes.
std::string toReceivedHex(const std::uint8_t* bytes, std::size_t count);
inline std::string toReceivedHex(const std::vector<std::uint8_t>& bytes) {
    return toReceivedHex(bytes.data(), bytes.size());
}

// Reads byte i from the two (or three) characters at position 3*i of the text,
// ignoring surrounding spaces. Returns nothing when a needed group is missing
// or is not hexadecimal.
std::optional<SevenBytes> parseSevenBytes(std::string_view hex);
std::optional<RawMessage> parseRawMessage(std::string_view hex);

// The value of one hex digit of either case, -1 for any other character.
int hexDigitValue(char c);

// The upper-case hex text of one byte without leading zero ("A", "1C").
std::string hexDigits(unsigned value);

// Two upper-case digits ("0A").
std::string hexByte(std::uint8_t value);

}  // namespace qv::net
