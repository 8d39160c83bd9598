#pragma once
// Reads a datagram from a QuorvelServer. Pure: text in, findings out.
//
// The forms are tested independently, in the order the link acts on them:
// version, preset report, relayed message, acknowledgement. The datagram
// comes from the network, so every field is checked before it is used: a
// field that is not a number, or a relayed length that runs past the end of
// the datagram, makes that part of the reply count as malformed instead of
// being read as zero or beyond the text.

#include <optional>
#include <string>
#include <string_view>

namespace qv::comms {

struct ServerVersion {
    int major = 0;
    int minor = 0;
    int build = 0;
    bool operator==(const ServerVersion&) const = default;
};

struct PresetReport {
    int area = 0;
    int preset = 0;
    bool operator==(const PresetReport&) const = default;
};

struct ServerReply {
    std::optional<ServerVersion> version;   // holds "QVELSERVERVERSION"
    std::optional<PresetReport> preset;     // holds "IS IN PRESET" with usable fields
    bool presetMalformed = false;           // holds "IS IN PRESET", fields unusable
    std::optional<std::string> relayedHex;  // starts "RS232:" with a usable message
    bool relayedEmpty = false;              // starts "RS232:" with length 0
    bool relayedMalformed = false;          // starts "RS232:", length or message unusable
    bool acknowledgement = false;           // starts "OK   :"
    std::string problem;                    // why a readable field was refused, for the monitor
};

ServerReply parseServerReply(std::string_view text);

// Major, minor and build: each the number in the 3 characters after "MAJOR:",
// "MINOR:" and "BUILD:"; 0 for a keyword that is missing or a field that is
// not a number.
ServerVersion GetServerVersion(std::string_view text);

// A decimal field that may be padded with spaces on either side ("  12",
// "3   "); nothing for an empty field or any other character.
std::optional<int> decimalField(std::string_view field);

}  // namespace qv::comms
