#pragma once
// How presets, channels, levels and fades travel in message bytes.

#include <cstdint>
#include <string>

namespace qv::net {

// Preset select: p = 1.. is sent as opcode (entry (p-1) mod 8 of
// 00 01 02 03 0A 0B 0C 0D) in bank (p-1) div 8.
struct PresetSelect {
    std::uint8_t opcode = 0;
    std::uint8_t bank = 0;
};
PresetSelect presetSelectFor(int preset);

// The preset a preset-select opcode and bank stand for, or 0 when the opcode
// is not one of the eight.
int presetFromSelect(std::uint8_t opcode, std::uint8_t bank);

// 0xFF is off (0 %), 0x01 full (100 %). Percent shown = (255 - L) / 255 * 100.
double levelPercent(int levelByte);
// The percentage as the monitor shows it: rounded to a whole number ("0").
std::string levelPercentText(int levelByte);
// L = 255 - p * 255 / 100, rounded half to even, at least 1. p is clamped to 0..100.
std::uint8_t levelFromPercent(double percent);

// One fade unit is 0.02 s.
constexpr int kFadeUnitsPerSecond = 50;

}  // namespace qv::net
