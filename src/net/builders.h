#pragma once
// Builders of outgoing messages. Each returns the raw message with its
// checksum; handing it to sendRS232 is the caller's job. A builder returns
// nothing when an argument does not fit its message byte.

#include "net/message.h"

#include <optional>
#include <string>
#include <string_view>

namespace qv::net {

// 1C area 32 op 00 bank FF: preset p with a 1 s fade. Nothing for p = 0.
std::optional<RawMessage> GoAreaPreset(int area, int preset);
// 1C area 00 63 00 00 FF
std::optional<RawMessage> AskforCurrentPreset(int area);
// 1C area ch-1 61 00 00 FF
std::optional<RawMessage> RequestlevelofChannel(int area, int channel);
// 1C area p-1 09 00 00 FF
std::optional<RawMessage> SavePreset(int area, int preset);
// 1C area ch-1 71 L 00 FF
std::optional<RawMessage> ChannelLevelMessage(int area, int channel, int levelByte);
// 1C area channel 72 level fade FF: the arguments go into the bytes as given.
std::optional<RawMessage> SendChannelAtLevel(int area, int channel, int level, int fade);
// The first seven bytes of a hex message, with the checksum recomputed.
std::optional<RawMessage> SendCustomCode(std::string_view hex);
// 5C A5 box 09 00 00 FF
std::optional<RawMessage> SensorLuxRequest(int box);
// 5C type box 80 00 00 00
std::optional<RawMessage> RollCallVersionRequest(int deviceType, int box);

// The custom-code editor's checksum tool: reads the first seven bytes of the
// field and gives back all eight as hex text; a field shorter than 20
// characters gives the error text the editor shows instead.
struct ChecksumToolResult {
    bool ok = false;
    std::string text;   // the rewritten field when ok
    std::string error;  // the message-box text when not
};
ChecksumToolResult customCodeChecksumTool(std::string_view field);

}  // namespace qv::net
