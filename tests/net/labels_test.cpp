#include "net/labels.h"

#include <gtest/gtest.h>

#include <functional>

namespace qv::net {
namespace {

NameTables officeNames() {
    NameTables names;
    names.setAreaName(5, "Office");
    names.setAreaName(0, "Everywhere");
    names.setPresetName(5, 2, "Evening");
    names.setPresetName(5, 96, "Last");
    names.setChannelName(5, 4, "Desk");
    return names;
}

struct LabelRow {
    const char* name;
    std::function<std::string(const NameTables&)> label;
    const char* expected;
    friend void PrintTo(const LabelRow& row, std::ostream* os) { *os << row.name; }
};

class LabelTest : public testing::TestWithParam<LabelRow> {};

TEST_P(LabelTest, NameWithNumberOrBareNumber) {
    const NameTables names = officeNames();
    EXPECT_EQ(GetParam().label(names), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LabelTest,
    testing::Values(
        LabelRow{"NamedArea", [](auto& n) { return AreaString(n, 5); }, "   Office(5)   "},
        LabelRow{"UnnamedArea", [](auto& n) { return AreaString(n, 6); }, "6"},
        LabelRow{"NamedAreaZero", [](auto& n) { return AreaString(n, 0); }, "   Everywhere(0)   "},
        LabelRow{"AreaOutOfRange", [](auto& n) { return AreaString(n, 300); }, "300"},
        LabelRow{"NamedPreset", [](auto& n) { return PresetString(n, 5, 2); }, "   Evening(2)   "},
        LabelRow{"UnnamedPreset", [](auto& n) { return PresetString(n, 5, 3); }, "3"},
        LabelRow{"PresetNameOfOtherArea", [](auto& n) { return PresetString(n, 6, 2); }, "2"},
        LabelRow{"Preset96", [](auto& n) { return PresetString(n, 5, 96); }, "   Last(96)   "},
        LabelRow{"Preset97", [](auto& n) { return PresetString(n, 5, 97); }, ""},
        LabelRow{"Preset255", [](auto& n) { return PresetString(n, 5, 255); }, ""},
        LabelRow{"NamedChannel", [](auto& n) { return ChannelString(n, 5, 4); }, "   Desk(4)   "},
        LabelRow{"UnnamedChannel", [](auto& n) { return ChannelString(n, 5, 3); }, "3"},
        LabelRow{"ChannelZero", [](auto& n) { return ChannelString(n, 5, 0); }, "0"},
        LabelRow{"AllChannels", [](auto& n) { return ChannelString(n, 5, 256); }, "   All Channels(256)   "},
        LabelRow{"AllChannelsLastArea", [](auto& n) { return ChannelString(n, 255, 256); },
                 "   All Channels(256)   "},
        LabelRow{"Channel257", [](auto& n) { return ChannelString(n, 5, 257); }, ""},
        LabelRow{"ChannelNegative", [](auto& n) { return ChannelString(n, 5, -1); }, ""},
        // Area 0 is "all areas": it has no channels to name.
        LabelRow{"ChannelOfAreaZero", [](auto& n) { return ChannelString(n, 0, 256); }, "256"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NameTables, ClearForgetsNamesButKeepsAllChannels) {
    NameTables names = officeNames();
    names.setChannelName(5, 256, "Whole office");
    EXPECT_EQ(names.channelName(5, 256), "Whole office");
    names.clear();
    EXPECT_EQ(names.areaName(5), "");
    EXPECT_EQ(names.presetName(5, 2), "");
    EXPECT_EQ(names.channelName(5, 4), "");
    EXPECT_EQ(names.channelName(5, 256), "All Channels");
    EXPECT_EQ(names.channelName(1, 256), "All Channels");
}

TEST(NameTables, OutOfRangeNamesAreIgnored) {
    NameTables names;
    names.setAreaName(256, "x");
    names.setAreaName(-1, "x");
    names.setPresetName(5, 97, "x");
    names.setPresetName(5, 0, "x");
    names.setPresetName(256, 1, "x");
    names.setChannelName(0, 1, "x");
    names.setChannelName(5, 257, "x");
    EXPECT_EQ(names.areaName(256), "");
    EXPECT_EQ(names.areaName(-1), "");
    EXPECT_EQ(names.presetName(5, 97), "");
    EXPECT_EQ(names.presetName(5, 0), "");
    EXPECT_EQ(names.presetName(256, 1), "");
    EXPECT_EQ(names.channelName(0, 1), "");
    EXPECT_EQ(names.channelName(5, 257), "");
    // The neighbours of the refused slots stay unnamed.
    EXPECT_EQ(names.presetName(5, 96), "");
    EXPECT_EQ(names.presetName(5, 1), "");
    EXPECT_EQ(names.channelName(1, 1), "");
    EXPECT_EQ(names.channelName(5, 256), "All Channels");
}

TEST(NameTables, NamesDoNotLeakBetweenSlots) {
    NameTables names;
    names.setPresetName(5, 96, "Last");
    names.setChannelName(5, 256, "Everything");
    EXPECT_EQ(names.presetName(6, 1), "");
    EXPECT_EQ(names.presetName(5, 95), "");
    EXPECT_EQ(names.channelName(6, 0), "");
    EXPECT_EQ(names.channelName(6, 256), "All Channels");
}

}  // namespace
}  // namespace qv::net
