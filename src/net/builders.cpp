#include "net/builders.h"

#include "net/encodings.h"

namespace qv::net {

namespace {

constexpr std::uint8_t kJoin = 0xFF;
constexpr std::uint8_t kOneSecondFade = kFadeUnitsPerSecond;
constexpr std::uint8_t kLightSensor = 0xA5;

constexpr std::size_t kChecksumToolMinLength = 20;  // "1C 01 68 07 00 00 42"
constexpr const char* kChecksumToolError =
    "Hex message should be entered in the form:  1C 01 68 07 00 00 42\n\n"
    "there needs to be 7 bytes given to work out a orvanet checksum";

bool fitsByte(int value) {
    return value >= 0 && value <= 0xFF;
}

// Presets and channels are numbered from 1 and travel as number - 1.
bool fitsNumbered(int value) {
    return value >= 1 && value <= 0x100;
}

std::uint8_t byte(int value) {
    return static_cast<std::uint8_t>(value);
}

RawMessage build(std::uint8_t sync, int b1, int b2, std::uint8_t opcode, int b4, int b5, std::uint8_t b6) {
    return withChecksum({sync, byte(b1), byte(b2), opcode, byte(b4), byte(b5), b6});
}

}  // namespace

std::optional<RawMessage> GoAreaPreset(int area, int preset) {
    constexpr int kMaxSelectablePreset = 256 * 8;  // the bank is one byte
    if (!fitsByte(area) || preset < 1 || preset > kMaxSelectablePreset) return std::nullopt;
    const PresetSelect select = presetSelectFor(preset);
    return build(kAreaSync, area, kOneSecondFade, select.opcode, 0x00, select.bank, kJoin);
}

std::optional<RawMessage> AskforCurrentPreset(int area) {
    if (!fitsByte(area)) return std::nullopt;
    return build(kAreaSync, area, 0x00, 0x63, 0x00, 0x00, kJoin);
}

std::optional<RawMessage> RequestlevelofChannel(int area, int channel) {
    if (!fitsByte(area) || !fitsNumbered(channel)) return std::nullopt;
    return build(kAreaSync, area, channel - 1, 0x61, 0x00, 0x00, kJoin);
}

std::optional<RawMessage> SavePreset(int area, int preset) {
    if (!fitsByte(area) || !fitsNumbered(preset)) return std::nullopt;
    return build(kAreaSync, area, preset - 1, 0x09, 0x00, 0x00, kJoin);
}

std::optional<RawMessage> ChannelLevelMessage(int area, int channel, int levelByte) {
    if (!fitsByte(area) || !fitsNumbered(channel) || !fitsByte(levelByte)) return std::nullopt;
    return build(kAreaSync, area, channel - 1, 0x71, levelByte, 0x00, kJoin);
}

std::optional<RawMessage> SendChannelAtLevel(int area, int channel, int level, int fade) {
    if (!fitsByte(area) || !fitsByte(channel) || !fitsByte(level) || !fitsByte(fade)) return std::nullopt;
    return build(kAreaSync, area, channel, 0x72, level, fade, kJoin);
}

std::optional<RawMessage> SendCustomCode(std::string_view hex) {
    // Whatever the stored code holds as its eighth byte is ignored.
    const auto bytes = parseSevenBytes(hex);
    if (!bytes) return std::nullopt;
    return withChecksum(*bytes);
}

std::optional<RawMessage> SensorLuxRequest(int box) {
    if (!fitsByte(box)) return std::nullopt;
    return build(kBoxSync, kLightSensor, box, 0x09, 0x00, 0x00, kJoin);
}

std::optional<RawMessage> RollCallVersionRequest(int deviceType, int box) {
    if (!fitsByte(deviceType) || !fitsByte(box)) return std::nullopt;
    // The only message we build without the join byte.
    return build(kBoxSync, deviceType, box, 0x80, 0x00, 0x00, 0x00);
}

ChecksumToolResult customCodeChecksumTool(std::string_view field) {
    ChecksumToolResult result;
    const auto bytes = field.size() < kChecksumToolMinLength ? std::nullopt : parseSevenBytes(field);
    if (!bytes) {
        result.error = kChecksumToolError;
        return result;
    }
    result.ok = true;
    result.text = toHex(withChecksum(*bytes));
    return result;
}

}  // namespace qv::net
