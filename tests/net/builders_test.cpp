#include "net/builders.h"

#include <gtest/gtest.h>

#include <functional>

namespace qv::net {
namespace {

struct BuildRow {
    const char* name;
    std::function<std::optional<RawMessage>()> build;
    std::optional<std::string> hex;  // nothing: the builder must refuse
    friend void PrintTo(const BuildRow& row, std::ostream* os) { *os << row.name; }
};

class BuilderTest : public testing::TestWithParam<BuildRow> {};

TEST_P(BuilderTest, BytesAndChecksum) {
    const auto& row = GetParam();
    const auto message = row.build();
    ASSERT_EQ(message.has_value(), row.hex.has_value());
    if (message) {
        EXPECT_EQ(toHex(*message), *row.hex);
    }
}

std::string rowName(const testing::TestParamInfo<BuildRow>& info) {
    return info.param.name;
}

// Expected checksums worked out by hand, not by the code under test.
INSTANTIATE_TEST_SUITE_P(
    Messages, BuilderTest,
    testing::Values(
        BuildRow{"GoAreaPreset1", [] { return GoAreaPreset(5, 1); }, "1C 05 32 00 00 00 FF AE"},
        BuildRow{"GoAreaPreset5", [] { return GoAreaPreset(5, 5); }, "1C 05 32 0A 00 00 FF A4"},
        BuildRow{"GoAreaPreset8", [] { return GoAreaPreset(5, 8); }, "1C 05 32 0D 00 00 FF A1"},
        BuildRow{"GoAreaPreset9", [] { return GoAreaPreset(5, 9); }, "1C 05 32 00 00 01 FF AD"},
        BuildRow{"GoAreaPreset16", [] { return GoAreaPreset(5, 16); }, "1C 05 32 0D 00 01 FF A0"},
        BuildRow{"GoAreaPresetAllAreas", [] { return GoAreaPreset(0, 14); }, "1C 00 32 0B 00 01 FF A7"},
        BuildRow{"GoAreaPresetLastBank", [] { return GoAreaPreset(255, 2048); }, "1C FF 32 0D 00 FF FF A8"},
        BuildRow{"AskforCurrentPreset", [] { return AskforCurrentPreset(7); }, "1C 07 00 63 00 00 FF 7B"},
        BuildRow{"RequestlevelofChannel1", [] { return RequestlevelofChannel(7, 1); },
                 "1C 07 00 61 00 00 FF 7D"},
        BuildRow{"RequestlevelofAllChannels", [] { return RequestlevelofChannel(7, 256); },
                 "1C 07 FF 61 00 00 FF 7E"},
        BuildRow{"SavePreset12", [] { return SavePreset(3, 12); }, "1C 03 0B 09 00 00 FF CE"},
        BuildRow{"SavePreset256", [] { return SavePreset(3, 256); }, "1C 03 FF 09 00 00 FF DA"},
        BuildRow{"ChannelLevelMessage", [] { return ChannelLevelMessage(2, 4, 0x80); },
                 "1C 02 03 71 80 00 FF EF"},
        // No channel - 1 here: the arguments are the bytes.
        BuildRow{"SendChannelAtLevel", [] { return SendChannelAtLevel(2, 4, 0x80, 50); },
                 "1C 02 04 72 80 32 FF BB"},
        BuildRow{"SensorLuxRequest", [] { return SensorLuxRequest(7); }, "5C A5 07 09 00 00 FF F0"},
        BuildRow{"RollCallVersionRequest", [] { return RollCallVersionRequest(0x20, 3); },
                 "5C 20 03 80 00 00 00 01"},
        BuildRow{"CustomCodeWithoutChecksum", [] { return SendCustomCode("1C 01 68 07 00 00 42"); },
                 "1C 01 68 07 00 00 42 32"},
        BuildRow{"CustomCodeWrongChecksum", [] { return SendCustomCode("1C 01 68 07 00 00 42 99"); },
                 "1C 01 68 07 00 00 42 32"},
        BuildRow{"CustomCodeReceivedForm", [] { return SendCustomCode("1c 01 68 07 00 00 4a 00 "); },
                 "1C 01 68 07 00 00 4A 2A"}),
    rowName);

INSTANTIATE_TEST_SUITE_P(
    Refused, BuilderTest,
    testing::Values(
        BuildRow{"GoAreaPreset0", [] { return GoAreaPreset(5, 0); }, std::nullopt},
        BuildRow{"GoAreaPresetNegative", [] { return GoAreaPreset(5, -1); }, std::nullopt},
        BuildRow{"GoAreaPresetBankOverflow", [] { return GoAreaPreset(5, 2049); }, std::nullopt},
        BuildRow{"GoAreaPresetArea256", [] { return GoAreaPreset(256, 1); }, std::nullopt},
        BuildRow{"GoAreaPresetAreaNegative", [] { return GoAreaPreset(-1, 1); }, std::nullopt},
        BuildRow{"AskforCurrentPresetArea256", [] { return AskforCurrentPreset(256); }, std::nullopt},
        BuildRow{"RequestlevelChannel0", [] { return RequestlevelofChannel(1, 0); }, std::nullopt},
        BuildRow{"RequestlevelChannel257", [] { return RequestlevelofChannel(1, 257); }, std::nullopt},
        BuildRow{"SavePreset0", [] { return SavePreset(1, 0); }, std::nullopt},
        BuildRow{"SavePreset257", [] { return SavePreset(1, 257); }, std::nullopt},
        BuildRow{"ChannelLevelByte256", [] { return ChannelLevelMessage(1, 1, 256); }, std::nullopt},
        BuildRow{"ChannelLevelNegative", [] { return ChannelLevelMessage(1, 1, -1); }, std::nullopt},
        BuildRow{"ChannelLevelChannel0", [] { return ChannelLevelMessage(1, 0, 1); }, std::nullopt},
        BuildRow{"SendChannelAtLevelChannel256", [] { return SendChannelAtLevel(1, 256, 0, 0); },
                 std::nullopt},
        BuildRow{"SendChannelAtLevelFade256", [] { return SendChannelAtLevel(1, 0, 0, 256); }, std::nullopt},
        BuildRow{"SendChannelAtLevelLevel256", [] { return SendChannelAtLevel(1, 0, 256, 0); }, std::nullopt},
        BuildRow{"SensorBox256", [] { return SensorLuxRequest(256); }, std::nullopt},
        BuildRow{"RollCallType256", [] { return RollCallVersionRequest(256, 1); }, std::nullopt},
        BuildRow{"RollCallBoxNegative", [] { return RollCallVersionRequest(1, -1); }, std::nullopt},
        BuildRow{"CustomCodeTooShort", [] { return SendCustomCode("1C 01 68"); }, std::nullopt},
        BuildRow{"CustomCodeNotHex", [] { return SendCustomCode("1C 01 68 07 00 00 4Z"); }, std::nullopt}),
    rowName);

const std::string kToolError =
    "Hex message should be entered in the form:  1C 01 68 07 00 00 42\n\n"
    "there needs to be 7 bytes given to work out a orvanet checksum";

struct ToolRow {
    const char* name;
    const char* field;
    std::optional<std::string> text;  // nothing: the error is shown
    friend void PrintTo(const ToolRow& row, std::ostream* os) { *os << row.name; }
};

class ChecksumToolTest : public testing::TestWithParam<ToolRow> {};

TEST_P(ChecksumToolTest, RewritesOrExplains) {
    const auto& row = GetParam();
    const ChecksumToolResult result = customCodeChecksumTool(row.field);
    ASSERT_EQ(result.ok, row.text.has_value());
    if (result.ok) {
        EXPECT_EQ(result.text, *row.text);
        EXPECT_TRUE(result.error.empty());
    } else {
        EXPECT_EQ(result.error, kToolError);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ChecksumToolTest,
    testing::Values(ToolRow{"Empty", "", std::nullopt},
                    ToolRow{"NineteenCharacters", "1C 01 68 07 00 00 4", std::nullopt},
                    ToolRow{"SevenBytes", "1C 01 68 07 00 00 42", "1C 01 68 07 00 00 42 32"},
                    ToolRow{"WrongChecksumReplaced", "1C 01 68 07 00 00 42 99", "1C 01 68 07 00 00 42 32"},
                    ToolRow{"UpperCased", "1c 01 68 07 00 00 4a", "1C 01 68 07 00 00 4A 2A"},
                    // Long enough, but the mask also lets letters through.
                    ToolRow{"NotHex", "XY 01 68 07 00 00 42 32", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qv::net
