#pragma once
// Turns one in-box line into its description and keeps AreaState current.
// Pure: the reactions of the rest of the program (events, buttons, sensor
// log, roll call, monitor record) are driven from the Decoded result by the
// caller, in their fixed order.

#include "net/area_state.h"
#include "net/labels.h"

#include <optional>
#include <string>
#include <string_view>

namespace qv::net {

// An in-box line: hex message + " D:" + receive date-time + "O:" + origin.
struct InboxLine {
    std::string hex;       // trailing spaces removed
    std::string dateTime;  // between "D:" and "O:"
    std::string origin;    // at most 50 characters after "O:"
};
InboxLine splitInboxLine(std::string_view line);
std::string makeInboxLine(std::string_view receivedHex, std::string_view dateTime, std::string_view origin);

struct SensorReading {
    int box = 0;
    int lux = 0;
    bool operator==(const SensorReading&) const = default;
};

struct VersionReply {
    int deviceType = 0;
    int box = 0;
    int major = 0;
    int minor = 0;
    bool operator==(const VersionReply&) const = default;
};

struct Decoded {
    InboxLine line;
    bool checksumOk = false;

    // The per-message working values; all 0 for anything not decoded.
    int area = 0;
    int preset = 0;
    int channel = 0;
    int levelByte = 0;
    std::string description;

    // A level report or set (60, 71, 72, 73) with a valid channel: the
    // light-levels window follows it.
    bool levelChanged = false;
    // A preset for area 0 was applied to every area.
    bool allAreasChanged = false;
    // 5C A5 box 00: a sensor announcing its box number.
    std::optional<int> sensorAnnounced;
    // 5C A5 box 0A: a lux reading.
    std::optional<SensorReading> sensorReading;
    // Box opcode 00: a version reply for the roll call.
    std::optional<VersionReply> versionReply;

    // The level percentage of the monitor record: (255 - L) / 255 * 100, "0".
    std::string levelPercentText() const;
    // The 16 hex digits without spaces, for the custom-code editor's listen box.
    std::string compactHex() const;
};

class Decoder {
public:
    Decoder(const NameTables& names, AreaState& state);
    Decoded decode(std::string_view inboxLine);
    Decoded decode(const InboxLine& line);

private:
    const NameTables& m_names;
    AreaState& m_state;
};

}  // namespace qv::net
