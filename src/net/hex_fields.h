#pragma once
// The decoder's view of a hex message from the in box: byte fields read by
// character position, whatever the text holds. The text comes from the
// serial port or a server, so nothing here may assume it is well formed.

#include <cstdint>
#include <string_view>

namespace qv::net {

class HexFields {
public:
    explicit HexFields(std::string_view hex) : m_hex(hex) {}

    // Byte i from the two characters at 3*i: their leading hex digits, so a
    // missing or non-hex field reads as 0.
    int operator[](std::size_t i) const;

    // Up to `length` characters from `pos`; empty past the end.
    std::string_view text(std::size_t pos, std::size_t length) const;

    // The checksum of every field but the last one the text holds.
    std::uint8_t expectedChecksum() const;

    // Area and sensor messages compare the checksum as upper-case text, box
    // messages as a number; lower-case digits only pass the second test.
    bool checksumTextMatches() const;
    bool checksumValueMatches() const;

private:
    std::string_view m_hex;
};

}  // namespace qv::net
