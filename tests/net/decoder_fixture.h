#pragma once
// A decoder over a small named building: area 5 "Office" with preset 3
// "Bright" and channel 2 "Desk"; everything else unnamed.

#include "net/decoder.h"
#include "net/hex_fields.h"
#include "net/message.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace qv::net::test {

inline const std::string kOffice = "   Office(5)   ";
inline const std::string kBright = "   Bright(3)   ";
inline const std::string kDesk = "   Desk(2)   ";

// An in-box line as the serial port delivers it, with the checksum of the
// first seven bytes appended.
inline std::string inboxLine(std::string_view sevenBytes) {
    const auto bytes = parseSevenBytes(sevenBytes);
    EXPECT_TRUE(bytes.has_value()) << sevenBytes;
    const RawMessage message = withChecksum(bytes.value_or(SevenBytes{}));
    return makeInboxLine(toReceivedHex(message.data(), message.size()), "01/02/2024 10:15:00", "Comms");
}

// An in-box line holding exactly the given text as its message.
inline std::string rawInboxLine(std::string_view hex) {
    return makeInboxLine(hex, "01/02/2024 10:15:00", "Comms");
}

class DecoderFixture {
protected:
    DecoderFixture() {
        names.setAreaName(5, "Office");
        names.setPresetName(5, 3, "Bright");
        names.setChannelName(5, 2, "Desk");
    }

    // How many channel-level entries have been reported.
    int reportedLevels() const {
        int count = 0;
        for (int area = 1; area <= 255; ++area)
            for (int channel = 0; channel <= 256; ++channel) count += state.channelLevel(area, channel) != -1;
        return count;
    }

    int areasWithPreset() const {
        int count = 0;
        for (int area = 1; area <= 255; ++area) count += state.GetPresetforArea(area) != 0;
        return count;
    }

    NameTables names;
    AreaState state;
    Decoder decoder{names, state};
};

// Nothing decoded: what the monitor shows for a message it cannot read. Its
// area is still the line's own area field (chars 4-5, 0 when missing).
inline void expectNothingDecoded(const Decoded& d) {
    EXPECT_FALSE(d.checksumOk);
    EXPECT_EQ(d.description, "");
    EXPECT_EQ(d.area, HexFields(d.line.hex)[1]);
    EXPECT_EQ(d.preset, 0);
    EXPECT_EQ(d.channel, 0);
    EXPECT_EQ(d.levelByte, 0);
    EXPECT_EQ(d.levelPercentText(), "100");
    EXPECT_FALSE(d.levelChanged);
    EXPECT_FALSE(d.allAreasChanged);
    EXPECT_FALSE(d.sensorAnnounced.has_value());
    EXPECT_FALSE(d.sensorReading.has_value());
    EXPECT_FALSE(d.versionReply.has_value());
}

}  // namespace qv::net::test
