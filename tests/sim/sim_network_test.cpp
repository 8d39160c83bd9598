#include "sim/sim_network.h"
#include "messages.h"
#include "net/encodings.h"

#include <gtest/gtest.h>

#include <set>

namespace qv::sim {
namespace {

using test::msg;
using test::msgs;

NetworkLayout testLayout() {
    NetworkLayout layout;  // 32 areas of 8 channels
    layout.sensors = {{7, 300}};
    layout.devices = {{0x20, 12, 2, 0}, {0xA5, 7, 1, 4}};
    return layout;
}

// What the network hears first, then the message under test, then exactly
// the answers it must give (checksums written out, not computed).
struct ReplyRow {
    const char* name;
    std::vector<std::string> before;
    std::string in;
    std::vector<std::string> replies;
};

void PrintTo(const ReplyRow& row, std::ostream* out) {
    *out << row.name;
}

class Replies : public ::testing::TestWithParam<ReplyRow> {};

TEST_P(Replies, AnswersAsTheNetworkWould) {
    const ReplyRow& row = GetParam();
    SimNetwork network(testLayout());
    for (const auto& before : msgs(row.before)) network.handle(before);
    EXPECT_EQ(network.handle(msg(row.in)), msgs(row.replies));
}

INSTANTIATE_TEST_SUITE_P(
    SimNetwork, Replies,
    ::testing::Values(
        // Preset query and the selects that move the answer.
        ReplyRow{"PresetQueryStartsAtPresetOne", {}, "1C 05 00 63 00 00 FF", {"1C 05 00 62 00 00 FF 7E"}},
        ReplyRow{
            "SelectPreset3", {"1C 05 32 02 00 00 FF"}, "1C 05 00 63 00 00 FF", {"1C 05 02 62 00 00 FF 7C"}},
        ReplyRow{"SelectInBank1IsPreset14",
                 {"1C 05 32 0B 00 01 FF"},
                 "1C 05 00 63 00 00 FF",
                 {"1C 05 0D 62 00 00 FF 71"}},
        ReplyRow{"AreaZeroSelectsEveryArea",
                 {"1C 00 32 0D 00 00 FF"},
                 "1C 20 00 63 00 00 FF",
                 {"1C 20 07 62 00 00 FF 5C"}},
        ReplyRow{
            "LinearPreset", {"1C 07 09 65 00 00 FF"}, "1C 07 00 63 00 00 FF", {"1C 07 09 62 00 00 FF 73"}},
        ReplyRow{"SelectForOtherAreaLeavesThisOne",
                 {"1C 06 32 02 00 00 FF"},
                 "1C 05 00 63 00 00 FF",
                 {"1C 05 00 62 00 00 FF 7E"}},
        // Level query and the channel sets.
        ReplyRow{"LevelQueryStartsOff", {}, "1C 05 02 61 00 00 FF", {"1C 05 02 60 FF 00 FF 7F"}},
        ReplyRow{"Set71", {"1C 05 02 71 40 00 FF"}, "1C 05 02 61 00 00 FF", {"1C 05 02 60 40 00 FF 3E"}},
        ReplyRow{"Set73", {"1C 05 02 73 40 00 FF"}, "1C 05 02 61 00 00 FF", {"1C 05 02 60 40 00 FF 3E"}},
        ReplyRow{"AllChannelsReachesTheLast",
                 {"1C 05 FF 71 80 00 FF"},
                 "1C 05 07 61 00 00 FF",
                 {"1C 05 07 60 80 00 FF F9"}},
        ReplyRow{"SetOtherChannelLeavesThisOne",
                 {"1C 05 03 71 40 00 FF"},
                 "1C 05 02 61 00 00 FF",
                 {"1C 05 02 60 FF 00 FF 7F"}},
        // Saved presets come back with a select, a bank select or a linear preset.
        ReplyRow{
            "SavedPresetRecalled",
            {"1C 05 02 71 20 00 FF", "1C 05 03 09 00 00 FF", "1C 05 02 71 FF 00 FF", "1C 05 32 03 00 00 FF"},
            "1C 05 02 61 00 00 FF",
            {"1C 05 02 60 20 00 FF 5E"}},
        ReplyRow{
            "SavedPresetRecalledByAreaZero",
            {"1C 01 00 71 20 00 FF", "1C 01 09 09 00 00 FF", "1C 02 00 71 30 00 FF", "1C 02 09 09 00 00 FF",
             "1C 01 00 71 FF 00 FF", "1C 02 00 71 FF 00 FF", "1C 00 32 01 00 01 FF"},
            "1C 02 00 61 00 00 FF",
            {"1C 02 00 60 30 00 FF 53"}},
        ReplyRow{"UnsavedPresetKeepsLevels",
                 {"1C 05 02 71 20 00 FF", "1C 05 32 0C 00 00 FF"},
                 "1C 05 02 61 00 00 FF",
                 {"1C 05 02 60 20 00 FF 5E"}},
        ReplyRow{
            "SaveIsPerPreset",
            {"1C 05 02 71 20 00 FF", "1C 05 03 09 00 00 FF", "1C 05 02 71 40 00 FF", "1C 05 32 02 00 00 FF"},
            "1C 05 02 61 00 00 FF",
            {"1C 05 02 60 40 00 FF 3E"}},
        // Sensors and roll call.
        ReplyRow{"SensorLux300", {}, "5C A5 07 09 00 00 FF", {"5C A5 07 0A 00 01 2C C1"}},
        ReplyRow{"VersionOfDevice20Box12", {}, "5C 20 0C 80 00 00 00", {"5C 20 0C 00 02 00 00 76"}},
        ReplyRow{"VersionOfSensorDevice", {}, "5C A5 07 80 00 00 00", {"5C A5 07 00 01 04 00 F3"}},
        // Silence.
        ReplyRow{"BadChecksumQuery", {}, "1C 05 00 63 00 00 FF 7F", {}},
        ReplyRow{"BadChecksumSetChangesNothing",
                 {"1C 05 02 71 40 00 FF 3F"},
                 "1C 05 02 61 00 00 FF",
                 {"1C 05 02 60 FF 00 FF 7F"}},
        ReplyRow{"UnknownArea", {}, "1C 21 00 63 00 00 FF", {}},
        ReplyRow{"AreaZeroQuery", {}, "1C 00 00 63 00 00 FF", {}},
        ReplyRow{"UnknownChannel", {}, "1C 05 08 61 00 00 FF", {}},
        ReplyRow{"AllChannelsQuery", {}, "1C 05 FF 61 00 00 FF", {}},
        ReplyRow{"UnknownSensorBox", {}, "5C A5 08 09 00 00 FF", {}},
        ReplyRow{"UnknownDeviceBox", {}, "5C 20 0D 80 00 00 00", {}},
        ReplyRow{"DeviceWithOtherType", {}, "5C 21 0C 80 00 00 00", {}},
        ReplyRow{"ReportsAskNothing", {}, "1C 05 02 62 00 00 FF", {}},
        ReplyRow{"ForeignSync", {}, "1D 05 00 63 00 00 FF", {}},
        ReplyRow{"ChannelSetAnswersNothing", {}, "1C 05 02 71 40 00 FF", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SimNetworkState, ExposesWhatTheMessagesDid) {
    SimNetwork network(testLayout());
    network.handle(msg("1C 03 32 0A 00 02 FF"));  // preset 21
    network.handle(msg("1C 03 04 71 10 00 FF"));
    network.handle(msg("1C 03 14 09 00 00 FF"));  // save as preset 21
    EXPECT_EQ(network.preset(3), 21);
    EXPECT_EQ(network.level(3, 5), 0x10);
    EXPECT_EQ(network.level(3, 4), 0xFF);
    ASSERT_TRUE(network.storedPreset(3, 21).has_value());
    EXPECT_EQ(network.storedPreset(3, 21)->at(4), 0x10);
    EXPECT_FALSE(network.storedPreset(4, 21).has_value());
    EXPECT_EQ(network.preset(33), 0);
    EXPECT_FALSE(network.level(3, 9).has_value());
}

TEST(SimNetworkState, PresetsBeyondAReportAreIgnored) {
    SimNetwork network;
    network.handle(msg("1C 05 32 00 00 20 FF"));  // bank 32: preset 257
    EXPECT_EQ(network.preset(5), 1);
    network.handle(msg("1C 05 32 0D 00 1F FF"));  // preset 256
    EXPECT_EQ(network.preset(5), 256);
    EXPECT_EQ(network.handle(msg("1C 05 00 63 00 00 FF")), msgs({"1C 05 FF 62 00 00 FF 7F"}));
}

TEST(SimNetworkState, LayoutSetsSize) {
    SimNetwork network(NetworkLayout{4, 2, {}, {}});
    EXPECT_EQ(network.handle(msg("1C 04 01 61 00 00 FF")).size(), 1u);
    EXPECT_TRUE(network.handle(msg("1C 05 00 63 00 00 FF")).empty());
    EXPECT_TRUE(network.handle(msg("1C 04 02 61 00 00 FF")).empty());
}

TEST(SimNetworkState, LuxCanChange) {
    SimNetwork network(testLayout());
    network.setLux(7, 0x1234);
    EXPECT_EQ(network.handle(msg("5C A5 07 09 00 00 FF")), msgs({"5C A5 07 0A 00 12 34"}));
}

TEST(RandomActivity, IsAValidPanelPressThatChangesTheState) {
    SimNetwork network(NetworkLayout{5, 3, {}, {}});
    Rng rng(7);
    std::set<std::uint8_t> opcodes;
    for (int i = 0; i < 500; ++i) {
        const RawMessage m = network.randomActivity(rng);
        ASSERT_TRUE(net::hasValidChecksum(m)) << net::toHex(m);
        ASSERT_EQ(m[0], net::kAreaSync);
        ASSERT_GE(m[1], 1);
        ASSERT_LE(m[1], 5);
        opcodes.insert(m[3]);
        if (m[3] == 0x71) {
            ASSERT_LT(m[2], 3);
            EXPECT_EQ(network.level(m[1], m[2] + 1), m[4]);
        } else {
            const int preset = net::presetFromSelect(m[3], m[5]);
            ASSERT_GT(preset, 0) << net::toHex(m);
            EXPECT_EQ(network.preset(m[1]), preset);
        }
    }
    EXPECT_TRUE(opcodes.count(0x71));
    EXPECT_GE(opcodes.size(), 5u);  // several preset-select opcodes as well
}

std::vector<RawMessage> run(std::uint64_t seed, SimNetwork& network) {
    Rng rng(seed);
    std::vector<RawMessage> out;
    for (int i = 0; i < 200; ++i) out.push_back(network.randomActivity(rng));
    return out;
}

TEST(RandomActivity, SameSeedSameRun) {
    SimNetwork a, b, c;
    const auto first = run(42, a);
    EXPECT_EQ(first, run(42, b));
    EXPECT_NE(first, run(43, c));
    for (int area = 1; area <= 32; ++area) {
        EXPECT_EQ(a.preset(area), b.preset(area));
        for (int channel = 1; channel <= 8; ++channel)
            EXPECT_EQ(a.level(area, channel), b.level(area, channel));
    }
}

}  // namespace
}  // namespace qv::sim
