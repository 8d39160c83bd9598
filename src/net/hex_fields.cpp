#include "net/hex_fields.h"

#include "net/message.h"

namespace qv::net {

namespace {

constexpr std::size_t kChecksumField = kMessageSize - 1;

}  // namespace

int HexFields::operator[](std::size_t i) const {
    int value = 0;
    for (char c : text(3 * i, 2)) {
        const int digit = hexDigitValue(c);
        if (digit < 0) break;
        value = value * 16 + digit;
    }
    return value;
}

std::string_view HexFields::text(std::size_t pos, std::size_t length) const {
    if (pos >= m_hex.size()) return {};
    return m_hex.substr(pos, length);
}

std::uint8_t HexFields::expectedChecksum() const {
    // Fields start at 0, 3, 6, ...; the sum takes those starting at most four
    // characters before the end, which for a 23-character message is bytes 0..6.
    unsigned sum = 0;
    for (std::size_t start = 0; start + 4 <= m_hex.size(); start += 3)
        sum += static_cast<unsigned>((*this)[start / 3]);
    return static_cast<std::uint8_t>(0u - sum);
}

bool HexFields::checksumTextMatches() const {
    return text(3 * kChecksumField, 2) == hexByte(expectedChecksum());
}

bool HexFields::checksumValueMatches() const {
    // A line too short to hold a checksum fails, even where the missing field
    // would read as the 00 that its bytes happen to sum to.
    if (text(3 * kChecksumField, 2).empty()) return false;
    return (*this)[kChecksumField] == expectedChecksum();
}

}  // namespace qv::net
