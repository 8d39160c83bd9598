// Area messages (sync 1C): descriptions, per-message values and the state
// they leave behind.

#include "decoder_fixture.h"

#include <algorithm>

namespace qv::net::test {
namespace {

struct AreaRow {
    const char* name;
    const char* bytes;  // the first seven; the checksum is appended
    std::string description;
    int area = 0;
    int preset = 0;
    int channel = 0;
    int levelByte = 0;
    bool levelChanged = false;
    bool allAreas = false;
    friend void PrintTo(const AreaRow& row, std::ostream* os) { *os << row.name; }
};

class AreaTableTest : public DecoderFixture, public testing::TestWithParam<AreaRow> {};

TEST_P(AreaTableTest, DescribesAndRemembers) {
    const AreaRow& row = GetParam();
    const Decoded d = decoder.decode(inboxLine(row.bytes));
    ASSERT_TRUE(d.checksumOk);
    EXPECT_EQ(d.description, row.description);
    EXPECT_EQ(d.area, row.area);
    EXPECT_EQ(d.preset, row.preset);
    EXPECT_EQ(d.channel, row.channel);
    EXPECT_EQ(d.levelByte, row.levelByte);
    EXPECT_EQ(d.levelChanged, row.levelChanged);
    EXPECT_EQ(d.allAreasChanged, row.allAreas);
    EXPECT_FALSE(d.sensorReading || d.sensorAnnounced || d.versionReply);

    // The preset lands in the message's area, or in all of them, and nowhere else.
    const int expectedAreas = row.preset == 0 ? 0 : row.allAreas ? 255 : 1;
    EXPECT_EQ(areasWithPreset(), expectedAreas);
    if (row.preset != 0 && !row.allAreas) {
        EXPECT_EQ(state.GetPresetforArea(row.area), row.preset);
    }
    if (row.allAreas) {
        EXPECT_EQ(state.GetPresetforArea(255), row.preset);
    }

    EXPECT_EQ(reportedLevels(), row.levelChanged ? 1 : 0);
    if (row.levelChanged) {
        EXPECT_EQ(state.channelLevel(row.area, row.channel), row.levelByte);
    }
}

std::string rowName(const testing::TestParamInfo<AreaRow>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(
    PresetReport, AreaTableTest,
    testing::Values(AreaRow{"Named", "1C 05 02 62 00 00 FF", "area " + kOffice + " is in preset " + kBright,
                            5, 3},
                    AreaRow{"Unnamed", "1C 06 07 62 00 00 FF", "area 6 is in preset 8", 6, 8},
                    AreaRow{"Preset96", "1C 06 5F 62 00 00 FF", "area 6 is in preset 96", 6, 96},
                    AreaRow{"Preset97IsOne", "1C 06 60 62 00 00 FF", "area 6 is in preset 1", 6, 1},
                    AreaRow{"Preset256IsOne", "1C 06 FF 62 00 00 FF", "area 6 is in preset 1", 6, 1},
                    AreaRow{"AreaZeroIgnored", "1C 00 02 62 00 00 FF", "", 0, 0}),
    rowName);

INSTANTIATE_TEST_SUITE_P(
    Queries, AreaTableTest,
    testing::Values(AreaRow{"Preset", "1C 05 00 63 00 00 FF", "what preset is area " + kOffice + " in?", 5},
                    AreaRow{"PresetOfAreaZero", "1C 00 00 63 00 00 FF", "what preset is area 0 in?", 0},
                    AreaRow{"Level", "1C 05 01 61 00 00 FF",
                            "What level is Area " + kOffice + " channel " + kDesk + "?", 5, 0, 2},
                    AreaRow{"LevelOfAllChannels", "1C 06 FF 61 00 00 FF",
                            "What level is Area 6 channel    All Channels(256)   ?", 6, 0, 256},
                    AreaRow{"LevelInAreaZeroIgnored", "1C 00 01 61 00 00 FF", "", 0}),
    rowName);

INSTANTIATE_TEST_SUITE_P(
    Levels, AreaTableTest,
    testing::Values(
        AreaRow{"ReportOff", "1C 05 01 60 FF 00 FF", "Area " + kOffice + " Channel " + kDesk + " is at 0%", 5,
                0, 2, 0xFF, true},
        AreaRow{"ReportFull", "1C 06 03 60 01 00 FF", "Area 6 Channel 4 is at 100%", 6, 0, 4, 0x01, true},
        AreaRow{"ReportInAreaZeroIgnored", "1C 00 03 60 01 00 FF", "", 0},
        AreaRow{"Set71", "1C 06 03 71 80 00 FF", "Set Area 6 Channel 4 to 50%", 6, 0, 4, 0x80, true},
        AreaRow{"Set72", "1C 05 01 72 00 32 FF", "Set Area " + kOffice + " Channel " + kDesk + " to 100%", 5,
                0, 2, 0x00, true},
        AreaRow{"Set73AllChannels", "1C 06 FF 73 E6 00 FF",
                "Set Area 6 Channel    All Channels(256)    to 10%", 6, 0, 256, 0xE6, true},
        AreaRow{"SetInAreaZeroIgnored", "1C 00 03 71 80 00 FF", "", 0}),
    rowName);

INSTANTIATE_TEST_SUITE_P(
    LinearPreset, AreaTableTest,
    testing::Values(AreaRow{"Named", "1C 05 02 65 00 00 FF", "Set area " + kOffice + " to preset " + kBright,
                            5, 3},
                    // Presets above 96 have no label, but they are remembered as heard.
                    AreaRow{"Above96", "1C 06 C7 65 00 00 FF", "Set area 6 to preset ", 6, 200},
                    AreaRow{"AllAreas", "1C 00 04 65 00 00 FF", "", 0, 5, 0, 0, false, true}),
    rowName);

INSTANTIATE_TEST_SUITE_P(
    PresetSelect, AreaTableTest,
    testing::Values(AreaRow{"First", "1C 06 32 00 00 00 FF", "Set area 6 to preset 1", 6, 1},
                    AreaRow{"Opcode03", "1C 06 32 03 00 00 FF", "Set area 6 to preset 4", 6, 4},
                    AreaRow{"Opcode0A", "1C 06 32 0A 00 00 FF", "Set area 6 to preset 5", 6, 5},
                    AreaRow{"Opcode0D", "1C 06 32 0D 00 00 FF", "Set area 6 to preset 8", 6, 8},
                    AreaRow{"Bank1", "1C 06 32 0B 00 01 FF", "Set area 6 to preset 14", 6, 14},
                    AreaRow{"Named", "1C 05 32 02 00 00 FF", "Set area " + kOffice + " to preset " + kBright,
                            5, 3},
                    AreaRow{"Preset255", "1C 06 32 0C 00 1F FF", "Set area 6 to preset ", 6, 255},
                    AreaRow{"Above255IsNone", "1C 06 32 0D 00 1F FF", "", 6, 0},
                    AreaRow{"AllAreas", "1C 00 32 0B 00 01 FF", "", 0, 14, 0, 0, false, true}),
    rowName);

class AreaMessageTest : public DecoderFixture, public testing::Test {};

TEST_F(AreaMessageTest, OtherOpcodesChangeNothing) {
    const std::vector<int> meaningful{0x00, 0x01, 0x02, 0x03, 0x0A, 0x0B, 0x0C, 0x0D,
                                      0x60, 0x61, 0x62, 0x63, 0x65, 0x71, 0x72, 0x73};
    for (int opcode = 0; opcode <= 0xFF; ++opcode) {
        if (std::find(meaningful.begin(), meaningful.end(), opcode) != meaningful.end()) continue;
        SCOPED_TRACE(hexByte(static_cast<std::uint8_t>(opcode)));
        const std::string bytes = "1C 06 05 " + hexByte(static_cast<std::uint8_t>(opcode)) + " 80 01 FF";
        const Decoded d = decoder.decode(inboxLine(bytes));
        EXPECT_TRUE(d.checksumOk);
        EXPECT_EQ(d.description, "");
        EXPECT_EQ(d.preset, 0);
        EXPECT_EQ(d.channel, 0);
        EXPECT_EQ(d.levelByte, 0);
        EXPECT_FALSE(d.levelChanged);
    }
    EXPECT_EQ(areasWithPreset(), 0);
    EXPECT_EQ(reportedLevels(), 0);
}

TEST_F(AreaMessageTest, LaterMessagesOverwriteOnlyTheirOwnArea) {
    decoder.decode(inboxLine("1C 05 02 62 00 00 FF"));
    decoder.decode(inboxLine("1C 06 07 62 00 00 FF"));
    EXPECT_EQ(state.GetPresetforArea(5), 3);
    EXPECT_EQ(state.GetPresetforArea(6), 8);
    decoder.decode(inboxLine("1C 05 32 0A 00 00 FF"));
    EXPECT_EQ(state.GetPresetforArea(5), 5);
    EXPECT_EQ(state.GetPresetforArea(6), 8);
}

TEST_F(AreaMessageTest, AllAreasOverwritesEveryArea) {
    decoder.decode(inboxLine("1C 05 02 62 00 00 FF"));
    decoder.decode(inboxLine("1C 00 32 0B 00 01 FF"));
    for (int area = 1; area <= 255; ++area) ASSERT_EQ(state.GetPresetforArea(area), 14) << area;
}

TEST_F(AreaMessageTest, LevelsAreKeptPerChannel) {
    decoder.decode(inboxLine("1C 05 01 60 FF 00 FF"));
    decoder.decode(inboxLine("1C 05 02 71 80 00 FF"));
    decoder.decode(inboxLine("1C 05 01 72 01 00 FF"));
    EXPECT_EQ(state.channelLevel(5, 2), 0x01);
    EXPECT_EQ(state.channelLevel(5, 3), 0x80);
    EXPECT_EQ(reportedLevels(), 2);
}

TEST_F(AreaMessageTest, ValuesForTheMonitor) {
    const Decoded d = decoder.decode(inboxLine("1C 05 01 60 FF 00 FF"));
    EXPECT_EQ(d.levelPercentText(), "0");
    EXPECT_EQ(d.compactHex(), "1C050160FF00FF80");
    EXPECT_EQ(d.line.hex, "1C 05 01 60 FF 00 FF 80");
    EXPECT_EQ(d.line.dateTime, "01/02/2024 10:15:00");
    EXPECT_EQ(d.line.origin, "Comms");
}

}  // namespace
}  // namespace qv::net::test
