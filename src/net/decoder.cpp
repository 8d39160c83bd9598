#include "net/decoder.h"

#include "net/encodings.h"
#include "net/hex_fields.h"
#include "net/message.h"

#include <algorithm>

namespace qv::net {

namespace {

constexpr std::string_view kAreaSyncText = "1C";
constexpr std::string_view kBoxSyncText = "5C";
constexpr std::string_view kSensorPrefix = "5C A5";

// Only presets 1..96 can be named; a preset report beyond them is taken as 1.
constexpr int kFirstUnnamedPreset = 97;
constexpr int kMaxPreset = 255;

std::string percentText(int levelByte) {
    return levelPercentText(levelByte) + "%";
}

// Bits 23..0 of the three bytes, taken two at a time from the top: a pair
// with both bits set means the breaker is on. Reversed so that the lowest
// pair, the first breaker, is shown first.
std::string breakerFlags(int b4, int b5, int b6) {
    const unsigned status = static_cast<unsigned>(b4 << 16 | b5 << 8 | b6);
    std::string flags;
    for (int shift = 22; shift >= 0; shift -= 2) flags += ((status >> shift) & 3u) == 3u ? '1' : '0';
    std::reverse(flags.begin(), flags.end());
    return flags;
}

class MessageDecoder {
public:
    MessageDecoder(const NameTables& names, AreaState& state, const HexFields& fields, Decoded& out)
        : m_names(names), m_state(state), m_fields(fields), m_out(out) {}

    void area();
    void sensor();
    void box();

private:
    std::string A() const { return AreaString(m_names, m_out.area); }
    std::string P() const { return PresetString(m_names, m_out.area, m_out.preset); }
    std::string C() const { return ChannelString(m_names, m_out.area, m_out.channel); }

    void applyPreset(int preset);
    void takeLevel();

    const NameTables& m_names;
    AreaState& m_state;
    const HexFields& m_fields;
    Decoded& m_out;
};

void MessageDecoder::area() {
    const int opcode = m_fields[3];
    switch (opcode) {
        case 0x62: {
            if (m_out.area < 1) return;
            const int preset = m_fields[2] + 1;
            m_state.setPreset(m_out.area, preset >= kFirstUnnamedPreset ? 1 : preset);
            const int stored = m_state.GetPresetforArea(m_out.area);
            m_out.preset = stored > kMaxPreset ? 0 : stored;
            m_out.description = "area " + A() + " is in preset " + P();
            return;
        }
        case 0x63:
            m_out.description = "what preset is area " + A() + " in?";
            return;
        case 0x61:
            if (m_out.area < 1) return;
            m_out.channel = m_fields[2] + 1;
            m_out.description = "What level is Area " + A() + " channel " + C() + "?";
            return;
        case 0x60:
            if (m_out.area < 1) return;
            takeLevel();
            m_out.description = "Area " + A() + " Channel " + C() + " is at " + percentText(m_out.levelByte);
            return;
        case 0x71:
        case 0x72:
        case 0x73:
            if (m_out.area < 1) return;
            takeLevel();
            m_out.description = "Set Area " + A() + " Channel " + C() + " to " + percentText(m_out.levelByte);
            return;
        case 0x65:
            applyPreset(m_fields[2] + 1);
            return;
        default: {
            // Every other opcode is a preset select or means nothing to us.
            const int preset =
                presetFromSelect(static_cast<std::uint8_t>(opcode), static_cast<std::uint8_t>(m_fields[5]));
            if (preset >= 1 && preset <= kMaxPreset) applyPreset(preset);
            return;
        }
    }
}

void MessageDecoder::applyPreset(int preset) {
    m_out.preset = preset;
    if (m_out.area == 0) {
        // Said to every area at once: too common to describe each time.
        m_state.setPresetAllAreas(preset);
        m_out.allAreasChanged = true;
        return;
    }
    m_state.setPreset(m_out.area, preset);
    m_out.description = "Set area " + A() + " to preset " + P();
}

void MessageDecoder::takeLevel() {
    m_out.channel = m_fields[2] + 1;
    m_out.levelByte = m_fields[4];
    m_state.setChannelLevel(m_out.area, m_out.channel, m_out.levelByte);
    m_out.levelChanged = true;
}

void MessageDecoder::sensor() {
    const int box = m_fields[2];
    switch (m_fields[3]) {
        case 0x00:
            m_out.sensorAnnounced = box;
            return;
        case 0x0A: {
            const int lux = m_fields[5] * 256 + m_fields[6];
            m_state.setLux(box, lux);
            m_out.sensorReading = SensorReading{box, lux};
            return;
        }
        default:
            return;
    }
}

void MessageDecoder::box() {
    const std::string B = std::to_string(m_fields[2]);
    const std::string boxHex = hexDigits(static_cast<unsigned>(m_fields[2]));
    const int data = m_fields[4];
    switch (m_fields[3]) {
        case 0x80:
            m_out.description = "Box " + B + " version request";
            return;
        case 0x00:
            m_out.description = "Box " + B + " ver " + hexDigits(static_cast<unsigned>(m_fields[4])) + "." +
                                hexDigits(static_cast<unsigned>(m_fields[5]));
            m_out.versionReply = VersionReply{m_fields[1], m_fields[2], m_fields[4], m_fields[5]};
            return;
        case 0x41:
            m_out.description = "Status of Box " + B + "  " +
                                breakerFlags(m_fields[4], m_fields[5], m_fields[6]) + " where 1= 'MCB on'";
            return;
        case 0xA2:
            m_out.description =
                data < 1 ? "Request Total Current of box " + boxHex
                         : "Request Current of Channel " + std::to_string(data) + " on box " + boxHex;
            return;
        case 0xA3:
            // The measured value is not decoded: its place in the message is unknown.
            m_out.description =
                data > 0 ? "Current of Channel " + std::to_string(data) + " on box " + boxHex + " is "
                         : "Total Current of box " + boxHex + " is ";
            return;
        default:
            return;
    }
}

}  // namespace

std::string Decoded::levelPercentText() const {
    return net::levelPercentText(levelByte);
}

std::string Decoded::compactHex() const {
    std::string digits = line.hex;
    std::erase(digits, ' ');
    return digits;
}

Decoder::Decoder(const NameTables& names, AreaState& state) : m_names(names), m_state(state) {}

Decoded Decoder::decode(std::string_view inboxLine) {
    return decode(splitInboxLine(inboxLine));
}

Decoded Decoder::decode(const InboxLine& line) {
    Decoded decoded;
    decoded.line = line;
    const HexFields fields(decoded.line.hex);
    const std::string_view sync = fields.text(0, 2);
    MessageDecoder message(m_names, m_state, fields, decoded);
    // The area is the line's own field even when nothing else can be read:
    // an undecodable line is reported for its area with preset 0.
    decoded.area = fields[1];

    if (sync == kAreaSyncText && fields.checksumTextMatches()) {
        decoded.checksumOk = true;
        message.area();
    } else if (sync == kBoxSyncText && fields.checksumValueMatches()) {
        // A sensor is a box too: both readings of the message apply.
        decoded.checksumOk = true;
        if (fields.text(0, kSensorPrefix.size()) == kSensorPrefix && fields.checksumTextMatches())
            message.sensor();
        message.box();
    }
    return decoded;
}

}  // namespace qv::net
