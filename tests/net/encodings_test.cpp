#include "net/encodings.h"

#include <gtest/gtest.h>

namespace qv::net {
namespace {

struct SelectRow {
    int preset;
    std::uint8_t opcode;
    std::uint8_t bank;
    friend void PrintTo(const SelectRow& row, std::ostream* os) { *os << "preset " << row.preset; }
};

class PresetSelectTest : public testing::TestWithParam<SelectRow> {};

TEST_P(PresetSelectTest, OpcodeAndBank) {
    const auto& row = GetParam();
    const PresetSelect select = presetSelectFor(row.preset);
    EXPECT_EQ(select.opcode, row.opcode);
    EXPECT_EQ(select.bank, row.bank);
}

INSTANTIATE_TEST_SUITE_P(Rows, PresetSelectTest,
                         testing::Values(SelectRow{1, 0x00, 0}, SelectRow{4, 0x03, 0}, SelectRow{5, 0x0A, 0},
                                         SelectRow{8, 0x0D, 0}, SelectRow{9, 0x00, 1}, SelectRow{14, 0x0B, 1},
                                         SelectRow{16, 0x0D, 1}, SelectRow{2048, 0x0D, 255}));

TEST(PresetSelect, EveryPresetReadsBack) {
    for (int preset = 1; preset <= 2048; ++preset) {
        const PresetSelect select = presetSelectFor(preset);
        EXPECT_EQ(presetFromSelect(select.opcode, select.bank), preset);
    }
}

TEST(PresetSelect, OtherOpcodesAreNoPreset) {
    for (std::uint8_t opcode : {0x04, 0x05, 0x09, 0x0E, 0x0F, 0x10, 0x62, 0x65, 0xFF})
        EXPECT_EQ(presetFromSelect(opcode, 1), 0) << int(opcode);
}

struct PercentRow {
    int levelByte;
    const char* text;
    friend void PrintTo(const PercentRow& row, std::ostream* os) { *os << "level " << row.levelByte; }
};

class LevelPercentTest : public testing::TestWithParam<PercentRow> {};

TEST_P(LevelPercentTest, RoundsToWholePercent) {
    EXPECT_EQ(levelPercentText(GetParam().levelByte), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Rows, LevelPercentTest,
                         testing::Values(PercentRow{0xFF, "0"}, PercentRow{0x01, "100"},
                                         PercentRow{0x00, "100"}, PercentRow{0x80, "50"},
                                         PercentRow{0x7F, "50"}, PercentRow{0xFD, "1"},  // 0.78: rounds up
                                         PercentRow{0xFE, "0"},                          // 0.39: rounds down
                                         PercentRow{0x02, "99"},                         // 99.2
                                         PercentRow{0xCC, "20"}));                       // exactly 20

struct FromPercentRow {
    double percent;
    int levelByte;
    friend void PrintTo(const FromPercentRow& row, std::ostream* os) { *os << row.percent << "%"; }
};

class LevelFromPercentTest : public testing::TestWithParam<FromPercentRow> {};

TEST_P(LevelFromPercentTest, NearestByteTiesToEven) {
    EXPECT_EQ(levelFromPercent(GetParam().percent), GetParam().levelByte) << GetParam().percent;
}

INSTANTIATE_TEST_SUITE_P(Rows, LevelFromPercentTest,
                         testing::Values(FromPercentRow{100, 1},                           // 0 is not full on
                                         FromPercentRow{0, 255}, FromPercentRow{50, 128},  // 127.5 to even
                                         FromPercentRow{10, 230},                          // 229.5 to even
                                         FromPercentRow{30, 178},                          // 178.5 to even
                                         FromPercentRow{99, 3},                            // 2.55
                                         FromPercentRow{99.9, 1},  // 0.255 raised to 1
                                         FromPercentRow{150, 1}, FromPercentRow{-5, 255}));

}  // namespace
}  // namespace qv::net
