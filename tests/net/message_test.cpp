#include "net/message.h"

#include <gtest/gtest.h>

namespace qv::net {
namespace {

struct ChecksumRow {
    const char* name;
    SevenBytes bytes;
    std::uint8_t expected;
    friend void PrintTo(const ChecksumRow& row, std::ostream* os) { *os << row.name; }
};

class ChecksumTest : public testing::TestWithParam<ChecksumRow> {};

TEST_P(ChecksumTest, IsTheNegatedSumModulo256) {
    const auto& row = GetParam();
    EXPECT_EQ(checksum(row.bytes.data()), row.expected);
    const RawMessage message = withChecksum(row.bytes);
    EXPECT_EQ(message[7], row.expected);
    EXPECT_TRUE(hasValidChecksum(message));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ChecksumTest,
    testing::Values(ChecksumRow{"CustomCodeExample", {0x1C, 0x01, 0x68, 0x07, 0x00, 0x00, 0x42}, 0x32},
                    ChecksumRow{"PresetReport", {0x1C, 0x05, 0x02, 0x62, 0x00, 0x00, 0xFF}, 0x7C},
                    ChecksumRow{"SumIsMultipleOf256", {0x80, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00}, 0x00},
                    ChecksumRow{"AllZero", {0, 0, 0, 0, 0, 0, 0}, 0x00},
                    ChecksumRow{"AllFF", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, 0x07},
                    ChecksumRow{"LastByteCounts", {0, 0, 0, 0, 0, 0, 0x01}, 0xFF}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Checksum, EveryByteOfTheMessageIsCovered) {
    const RawMessage good = withChecksum({0x1C, 0x01, 0x68, 0x07, 0x00, 0x00, 0x42});
    for (std::size_t i = 0; i < kMessageSize; ++i) {
        for (int bit = 0; bit < 8; ++bit) {
            RawMessage bad = good;
            bad[i] ^= static_cast<std::uint8_t>(1 << bit);
            EXPECT_FALSE(hasValidChecksum(bad)) << "byte " << i << " bit " << bit;
        }
    }
}

TEST(Checksum, OnlyAreaAndBoxSyncsAreFramable) {
    EXPECT_TRUE(isFramable(withChecksum({0x1C, 0x05, 0x02, 0x62, 0x00, 0x00, 0xFF})));
    EXPECT_TRUE(isFramable(withChecksum({0x5C, 0xA5, 0x07, 0x0A, 0x00, 0x01, 0x2C})));
    EXPECT_FALSE(isFramable(withChecksum({0x1D, 0x05, 0x02, 0x62, 0x00, 0x00, 0xFF})));
    EXPECT_FALSE(isFramable(withChecksum({0x00, 0x05, 0x02, 0x62, 0x00, 0x00, 0xFF})));
    RawMessage bad = withChecksum({0x1C, 0x05, 0x02, 0x62, 0x00, 0x00, 0xFF});
    ++bad[7];
    EXPECT_FALSE(isFramable(bad));
}

TEST(HexText, MessageIsUpperCaseWithSingleSpaces) {
    const RawMessage message{0x1C, 0x01, 0x68, 0x07, 0x00, 0x0A, 0xFF, 0x32};
    EXPECT_EQ(toHex(message), "1C 01 68 07 00 0A FF 32");
}

TEST(HexText, ReceivedFormHasATrailingSpacePerByte) {
    const std::vector<std::uint8_t> bytes{0x05, 0x1C, 0xab};
    EXPECT_EQ(toReceivedHex(bytes), "05 1C AB ");
    EXPECT_EQ(toReceivedHex(std::vector<std::uint8_t>{}), "");
}

TEST(HexText, DigitsWithoutLeadingZero) {
    EXPECT_EQ(hexDigits(0), "0");
    EXPECT_EQ(hexDigits(0x0A), "A");
    EXPECT_EQ(hexDigits(0x1C), "1C");
    EXPECT_EQ(hexDigits(0x100), "100");
    EXPECT_EQ(hexByte(0x0A), "0A");
    EXPECT_EQ(hexByte(0xFF), "FF");
}

TEST(HexText, DigitValuesOfBothCases) {
    EXPECT_EQ(hexDigitValue('0'), 0);
    EXPECT_EQ(hexDigitValue('9'), 9);
    EXPECT_EQ(hexDigitValue('a'), 10);
    EXPECT_EQ(hexDigitValue('F'), 15);
    EXPECT_EQ(hexDigitValue('g'), -1);
    EXPECT_EQ(hexDigitValue(' '), -1);
    EXPECT_EQ(hexDigitValue('\0'), -1);
}

struct ParseRow {
    const char* name;
    const char* text;
    std::optional<RawMessage> expected;
    friend void PrintTo(const ParseRow& row, std::ostream* os) { *os << row.name; }
};

class ParseTest : public testing::TestWithParam<ParseRow> {};

TEST_P(ParseTest, ReadsEightGroupsByPosition) {
    EXPECT_EQ(parseRawMessage(GetParam().text), GetParam().expected);
}

constexpr RawMessage kExample{0x1C, 0x01, 0x68, 0x07, 0x00, 0x00, 0x42, 0x32};

INSTANTIATE_TEST_SUITE_P(Rows, ParseTest,
                         testing::Values(ParseRow{"Plain", "1C 01 68 07 00 00 42 32", kExample},
                                         ParseRow{"ReceivedForm", "1C 01 68 07 00 00 42 32 ", kExample},
                                         ParseRow{"LowerCase", "1c 01 68 07 00 00 42 32", kExample},
                                         ParseRow{"SpaceBeforeGroup", " 1C 01 68 07 00 00 42 32", kExample},
                                         ParseRow{"SingleDigitGroup", "1C 1  68 07 00 00 42 32", kExample},
                                         ParseRow{"TextAfterEighthByteIgnored",
                                                  "1C 01 68 07 00 00 42 32 99 AA", kExample},
                                         ParseRow{"SevenBytesOnly", "1C 01 68 07 00 00 42", std::nullopt},
                                         ParseRow{"Empty", "", std::nullopt},
                                         ParseRow{"NonHexDigit", "1C 01 6G 07 00 00 42 32", std::nullopt},
                                         ParseRow{"NoSeparators", "1C0168070000423200000000", std::nullopt},
                                         ParseRow{"WrongSeparator", "1C-01-68-07-00-00-42-32", std::nullopt},
                                         ParseRow{"BlankGroup", "1C    68 07 00 00 42 32", std::nullopt}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Parse, SevenBytesIgnoreTheEighth) {
    const auto seven = parseSevenBytes("1C 01 68 07 00 00 42 ZZ");
    ASSERT_TRUE(seven.has_value());
    EXPECT_EQ(*seven, (SevenBytes{0x1C, 0x01, 0x68, 0x07, 0x00, 0x00, 0x42}));
    EXPECT_FALSE(parseSevenBytes("1C 01 68 07 00 00").has_value());
}

TEST(Parse, EveryByteValueSurvivesTheRoundTrip) {
    for (int value = 0; value <= 0xFF; ++value) {
        RawMessage message{};
        message.fill(static_cast<std::uint8_t>(value));
        message[3] = static_cast<std::uint8_t>(0xFF - value);
        EXPECT_EQ(parseRawMessage(toHex(message)), message) << value;
        EXPECT_EQ(parseRawMessage(toReceivedHex(message.data(), message.size())), message) << value;
    }
}

}  // namespace
}  // namespace qv::net
