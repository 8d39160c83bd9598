#include "net/encodings.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace qv::net {

namespace {

// Entry (p-1) mod 8 of a preset select; the gap after 03 is how the devices
// number them.
constexpr std::array<std::uint8_t, 8> kSelectOpcodes{0x00, 0x01, 0x02, 0x03, 0x0A, 0x0B, 0x0C, 0x0D};

}  // namespace

PresetSelect presetSelectFor(int preset) {
    if (preset < 1) return {};
    const int index = preset - 1;
    return {kSelectOpcodes[index % 8], static_cast<std::uint8_t>(index / 8)};
}

int presetFromSelect(std::uint8_t opcode, std::uint8_t bank) {
    const auto it = std::find(kSelectOpcodes.begin(), kSelectOpcodes.end(), opcode);
    if (it == kSelectOpcodes.end()) return 0;
    return bank * 8 + static_cast<int>(it - kSelectOpcodes.begin()) + 1;
}

double levelPercent(int levelByte) {
    return (255 - levelByte) / 255.0 * 100.0;
}

std::string levelPercentText(int levelByte) {
    // Whole percent, halves away from zero. No byte value lands on a half.
    return std::to_string(std::lround(levelPercent(levelByte)));
}

std::uint8_t levelFromPercent(double percent) {
    if (std::isnan(percent)) percent = 0.0;
    percent = std::clamp(percent, 0.0, 100.0);
    // nearbyint follows the default rounding mode: nearest, ties to even.
    const double level = std::nearbyint(255.0 - percent * 255.0 / 100.0);
    return static_cast<std::uint8_t>(std::max(level, 1.0));
}

}  // namespace qv::net
