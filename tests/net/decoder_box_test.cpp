// Box messages (sync 5C) and the light sensors among them (5C A5).

#include "decoder_fixture.h"

namespace qv::net::test {
namespace {

struct BoxRow {
    const char* name;
    const char* bytes;  // the first seven; the checksum is appended
    std::string description;
    std::optional<int> announced = {};
    std::optional<SensorReading> reading = {};
    std::optional<VersionReply> version = {};
    friend void PrintTo(const BoxRow& row, std::ostream* os) { *os << row.name; }
};

class BoxTableTest : public DecoderFixture, public testing::TestWithParam<BoxRow> {};

TEST_P(BoxTableTest, DescribesAndReports) {
    const BoxRow& row = GetParam();
    const Decoded d = decoder.decode(inboxLine(row.bytes));
    ASSERT_TRUE(d.checksumOk);
    EXPECT_EQ(d.description, row.description);
    EXPECT_EQ(d.sensorAnnounced, row.announced);
    EXPECT_EQ(d.sensorReading, row.reading);
    EXPECT_EQ(d.versionReply, row.version);
    // Byte 1 is a device type here: it is shown, but no area changes.
    EXPECT_EQ(d.area, parseSevenBytes(row.bytes).value()[1]);
    EXPECT_EQ(d.preset, 0);
    EXPECT_EQ(d.channel, 0);
    EXPECT_FALSE(d.levelChanged || d.allAreasChanged);
    EXPECT_EQ(areasWithPreset(), 0);
    EXPECT_EQ(reportedLevels(), 0);
    for (int box = 1; box <= 255; ++box) {
        const int expected = row.reading && row.reading->box == box ? row.reading->lux : -1;
        ASSERT_EQ(state.lux(box), expected) << box;
    }
}

std::string rowName(const testing::TestParamInfo<BoxRow>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(
    Sensor, BoxTableTest,
    testing::Values(
        BoxRow{"Lux300", "5C A5 07 0A 00 01 2C", "", {}, SensorReading{7, 300}},
        BoxRow{"LuxIgnoresByte4", "5C A5 08 0A 7F FF 00", "", {}, SensorReading{8, 0xFF00}},
        // The sensor's version reply doubles as its announcement.
        BoxRow{"Announce", "5C A5 07 00 00 00 00", "Box 7 ver 0.0", 7, {}, VersionReply{0xA5, 7, 0, 0}},
        BoxRow{"LuxRequestEcho", "5C A5 07 09 00 00 FF", ""},
        BoxRow{"LuxFromAnotherDeviceType", "5C 20 07 0A 00 01 2C", ""}),
    rowName);

INSTANTIATE_TEST_SUITE_P(
    Box, BoxTableTest,
    testing::Values(
        BoxRow{"VersionRequest", "5C 20 0C 80 00 00 00", "Box 12 version request"},
        BoxRow{"Version", "5C 20 03 00 01 0A 00", "Box 3 ver 1.A", {}, {}, VersionReply{0x20, 3, 1, 10}},
        BoxRow{"VersionTwoDigits",
               "5C 20 C8 00 1F 00 00",
               "Box 200 ver 1F.0",
               {},
               {},
               VersionReply{0x20, 200, 0x1F, 0}},
        BoxRow{"RequestTotalCurrent", "5C 20 1A A2 00 00 00", "Request Total Current of box 1A"},
        BoxRow{"RequestTotalCurrentSmallBox", "5C 20 05 A2 00 00 00", "Request Total Current of box 5"},
        BoxRow{"RequestChannelCurrent", "5C 20 1A A2 0C 00 00", "Request Current of Channel 12 on box 1A"},
        BoxRow{"ChannelCurrent", "5C 20 1A A3 0C 00 00", "Current of Channel 12 on box 1A is "},
        BoxRow{"TotalCurrent", "5C 20 1A A3 00 00 00", "Total Current of box 1A is "},
        BoxRow{"UnknownOpcode", "5C 20 1A 42 0C 00 00", ""}),
    rowName);

std::string statusText(const std::string& flags) {
    return "Status of Box 12  " + flags + " where 1= 'MCB on'";
}

// Twelve breakers, two bits each, the first breaker in the lowest pair.
INSTANTIATE_TEST_SUITE_P(
    Status, BoxTableTest,
    testing::Values(BoxRow{"Bits17And16", "5C 20 0C 41 03 00 00", statusText("000000001000")},
                    BoxRow{"TopPair", "5C 20 0C 41 C0 00 00", statusText("000000000001")},
                    BoxRow{"BottomPair", "5C 20 0C 41 00 00 03", statusText("100000000000")},
                    BoxRow{"HalfPairsAreOff", "5C 20 0C 41 55 AA 55", statusText("000000000000")},
                    BoxRow{"AllOn", "5C 20 0C 41 FF FF FF", statusText("111111111111")},
                    BoxRow{"TwoBreakers", "5C 20 0C 41 30 0C 00", statusText("000001000010")}),
    rowName);

}  // namespace
}  // namespace qv::net::test
