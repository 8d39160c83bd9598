#include "macros/stored_message.h"

#include "net/encodings.h"

#include <cmath>

namespace qv::macros {

namespace {

constexpr double kFadeHighUnit = 5.12;   // seconds per step of the fade high byte
constexpr double kFadeLowUnit = 0.02;    // seconds per step of the fade low byte
constexpr double kShortFadeLimit = 5.1;  // up to here the low byte alone carries the fade
// Decimal fades such as 10 - 5.12 = 4.88 land a hair under a whole number of
// 0.02 s units in binary; the nudge keeps "the whole part" the decimal one.
constexpr double kDecimalNudge = 1e-7;
constexpr double kDecimalGrid = 1e6;

constexpr std::uint8_t kChannelLevelOpcode = 0x72;
constexpr std::uint8_t kJoin = 0xFF;

bool fitsByte(long value) {
    return value >= 0 && value <= 0xFF;
}

QString fadeError(double fade) {
    return QStringLiteral("A fade of %1 secs does not fit a network message").arg(fade);
}

}  // namespace

double storedFade(double parsedFade) {
    if (!std::isfinite(parsedFade) || parsedFade < kMinimumFade) return kMinimumFade;
    return parsedFade;
}

int storedWhole(double parsed) {
    if (!std::isfinite(parsed)) return 0;
    const double rounded = std::nearbyint(parsed);  // default rounding: nearest, ties to even
    if (rounded > 1e9) return 1000000000;
    if (rounded < -1e9) return -1000000000;
    return static_cast<int>(rounded);
}

FadeParts presetFadeParts(double fade) {
    FadeParts parts;
    parts.high = static_cast<long>(std::floor(fade / kFadeHighUnit + kDecimalNudge));
    if (fade > kShortFadeLimit) {
        const double left = fade - static_cast<double>(parts.high) * kFadeHighUnit;
        parts.low = static_cast<long>(std::floor(left / kFadeLowUnit + kDecimalNudge));
    } else {
        // Rounded as the decimal quotient is: 0.47 s is 23.5 units and goes to
        // the even 24, though in binary it is a hair under the half. Snapping
        // to a millionth first removes the binary noise, then ties go to even.
        const double units = std::nearbyint(fade / kFadeLowUnit * kDecimalGrid) / kDecimalGrid;
        parts.low = static_cast<long>(std::nearbyint(units));
    }
    return parts;
}

long channelLevelByte(int level) {
    return static_cast<long>(std::nearbyint(255.0 - level * 255.0 / 100.0));
}

StoredMessage presetMessage(int area, int preset, double fade) {
    StoredMessage out;
    constexpr int kMaxPreset = 256 * 8;  // the bank is one byte
    if (!fitsByte(area)) {
        out.error = QStringLiteral("Area %1 does not fit a network message (areas are 0 to 255)").arg(area);
        return out;
    }
    if (preset < 1 || preset > kMaxPreset) {
        out.error = QStringLiteral("Preset %1 does not fit a network message (presets are 1 to %2)")
                        .arg(preset)
                        .arg(kMaxPreset);
        return out;
    }
    if (!std::isfinite(fade) || fade < 0) {
        out.error = fadeError(fade);
        return out;
    }
    const FadeParts parts = presetFadeParts(fade);
    if (!fitsByte(parts.high) || !fitsByte(parts.low)) {
        out.error = fadeError(fade);
        return out;
    }
    const net::PresetSelect select = net::presetSelectFor(preset);
    out.message = net::withChecksum({net::kAreaSync, static_cast<std::uint8_t>(area),
                                     static_cast<std::uint8_t>(parts.low), select.opcode,
                                     static_cast<std::uint8_t>(parts.high), select.bank, kJoin});
    return out;
}

StoredMessage channelMessage(int area, int channel, int level, double fade) {
    StoredMessage out;
    if (!fitsByte(area)) {
        out.error = QStringLiteral("Area %1 does not fit a network message (areas are 0 to 255)").arg(area);
        return out;
    }
    if (channel < 1 || channel > 256) {
        out.error =
            QStringLiteral("Channel %1 does not fit a network message (channels are 1 to 256)").arg(channel);
        return out;
    }
    if (level < 0 || level > 100) {
        out.error =
            QStringLiteral("Level %1% does not fit a network message (levels are 0 to 100)").arg(level);
        return out;
    }
    const double seconds = std::isfinite(fade) ? std::nearbyint(fade) : -1;
    if (seconds < 0 || seconds > 255) {
        out.error = fadeError(fade);
        return out;
    }
    out.message = net::withChecksum({net::kAreaSync, static_cast<std::uint8_t>(area),
                                     static_cast<std::uint8_t>(channel - 1), kChannelLevelOpcode,
                                     static_cast<std::uint8_t>(channelLevelByte(level)),
                                     static_cast<std::uint8_t>(seconds), kJoin});
    return out;
}

QByteArray storedBytes(const net::RawMessage& message) {
    return QByteArray(reinterpret_cast<const char*>(message.data()), static_cast<qsizetype>(message.size()));
}

}  // namespace qv::macros
