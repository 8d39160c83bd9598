#include "comms/server_reply_parser.h"

#include "net/message.h"

namespace qv::comms {

namespace {

constexpr std::string_view kVersionMark = "QVELSERVERVERSION";
constexpr std::string_view kPresetMark = "IS IN PRESET";
constexpr std::string_view kPresetField = "PRESET:";
constexpr std::string_view kRelayMark = "RS232:";
constexpr std::string_view kAckMark = "OK   :";

// Character positions, counted from 0: the area of a preset report is
// characters 6-9, a relayed length characters 7-10, its message from 12.
constexpr std::size_t kAreaAt = 5;
constexpr std::size_t kFieldWidth = 4;
constexpr std::size_t kLengthAt = 6;
constexpr std::size_t kRelayedHexAt = 11;
constexpr std::size_t kVersionFieldWidth = 3;

constexpr int kLastArea = 255;
constexpr int kLastPreset = 96;
// The serial link cuts unframable bytes into chunks of at most 64 bytes; a
// relayed message may be no longer, written with a space between the bytes.
constexpr std::size_t kMaxRelayedChars = 64 * 3;

int versionField(std::string_view text, std::string_view keyword) {
    const std::size_t at = text.find(keyword);
    if (at == std::string_view::npos) return 0;
    return decimalField(text.substr(at + keyword.size(), kVersionFieldWidth)).value_or(0);
}

std::optional<PresetReport> presetReport(std::string_view text, std::string& problem) {
    if (text.size() < kAreaAt + kFieldWidth) return std::nullopt;
    const std::optional<int> area = decimalField(text.substr(kAreaAt, kFieldWidth));
    const std::size_t field = text.find(kPresetField);
    if (!area || field == std::string_view::npos) return std::nullopt;
    const std::string_view presetText = text.substr(field + kPresetField.size(), kFieldWidth);
    if (presetText.size() < kFieldWidth) return std::nullopt;
    const std::optional<int> preset = decimalField(presetText);
    if (!preset || *area < 1 || *area > kLastArea || *preset < 1) return std::nullopt;
    if (*preset > kLastPreset) {
        problem = "preset " + std::to_string(*preset) + " is outside 1-96";
        return std::nullopt;
    }
    return PresetReport{*area, *preset};
}

// Only hex digits and spaces reach the in box: anything else could be taken
// for the date or origin markers of the in-box line.
bool isHexText(std::string_view hex) {
    bool anyDigit = false;
    for (const char c : hex) {
        if (c == ' ') continue;
        if (net::hexDigitValue(c) < 0) return false;
        anyDigit = true;
    }
    return anyDigit;
}

void relayed(std::string_view text, ServerReply& reply) {
    if (text.size() < kLengthAt + kFieldWidth) {
        reply.relayedMalformed = true;
        return;
    }
    const std::optional<int> length = decimalField(text.substr(kLengthAt, kFieldWidth));
    if (!length) {
        reply.relayedMalformed = true;
    } else if (*length == 0) {
        reply.relayedEmpty = true;
    } else if (static_cast<std::size_t>(*length) > kMaxRelayedChars) {
        reply.relayedMalformed = true;
        reply.problem =
            "a relayed message of " + std::to_string(*length) + " characters is longer than 64 bytes";
    } else if (kRelayedHexAt + static_cast<std::size_t>(*length) > text.size() ||
               !isHexText(text.substr(kRelayedHexAt, static_cast<std::size_t>(*length)))) {
        reply.relayedMalformed = true;
    } else {
        reply.relayedHex = std::string(text.substr(kRelayedHexAt, static_cast<std::size_t>(*length)));
    }
}

}  // namespace

std::optional<int> decimalField(std::string_view field) {
    std::size_t from = field.find_first_not_of(' ');
    if (from == std::string_view::npos) return std::nullopt;
    const std::size_t to = field.find_last_not_of(' ');
    int value = 0;
    for (std::size_t i = from; i <= to; ++i) {
        const char c = field[i];
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');  // at most a few digits: no overflow
        if (value > 99999999) return std::nullopt;
    }
    return value;
}

ServerVersion GetServerVersion(std::string_view text) {
    return ServerVersion{versionField(text, "MAJOR:"), versionField(text, "MINOR:"),
                         versionField(text, "BUILD:")};
}

ServerReply parseServerReply(std::string_view text) {
    ServerReply reply;
    if (text.find(kVersionMark) != std::string_view::npos) reply.version = GetServerVersion(text);
    if (text.find(kPresetMark) != std::string_view::npos) {
        reply.preset = presetReport(text, reply.problem);
        reply.presetMalformed = !reply.preset;
    }
    if (text.starts_with(kRelayMark)) relayed(text, reply);
    reply.acknowledgement = text.starts_with(kAckMark);
    return reply;
}

}  // namespace qv::comms
