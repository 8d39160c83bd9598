// The stored network message of a macro's Orvanet line: the fade high/low
// encoding and its rounding, where the preset code and bank go (the codes
// themselves: tests/net/encodings_test.cpp), level bytes, and the refusal of
// values that do not fit a byte.

#include "macro_fixture.h"

#include "macros/stored_message.h"
#include "net/message.h"
#include "support/case_names.h"

namespace qv::macros::test {
namespace {

struct FadeRow {
    double fade;
    long high;
    long low;
};

void PrintTo(const FadeRow& row, std::ostream* os) {
    *os << qv::test::caseName(row.fade);
}

class PresetFadeTest : public ::testing::TestWithParam<FadeRow> {};

TEST_P(PresetFadeTest, SplitsIntoHighAndLowParts) {
    const FadeParts parts = presetFadeParts(GetParam().fade);
    EXPECT_EQ(parts.high, GetParam().high) << "fade " << GetParam().fade;
    EXPECT_EQ(parts.low, GetParam().low) << "fade " << GetParam().fade;
}

INSTANTIATE_TEST_SUITE_P(Rows, PresetFadeTest,
                         ::testing::Values(FadeRow{10, 1, 244}, FadeRow{2, 0, 100}, FadeRow{0.02, 0, 1},
                                           FadeRow{5.1, 0, 255}, FadeRow{5.11, 0, 255}, FadeRow{5.12, 1, 0},
                                           FadeRow{10.24, 2, 0}, FadeRow{1000, 195, 80}, FadeRow{7.5, 1, 119},
                                           // Decimal halves of a 0.02 s unit go to the even neighbour.
                                           FadeRow{0.47, 0, 24}, FadeRow{0.59, 0, 30}, FadeRow{2.49, 0, 124},
                                           FadeRow{4.69, 0, 234}, FadeRow{4.73, 0, 236}));

TEST(PresetMessage, HasTheWholeLayoutAndAValidChecksum) {
    const StoredMessage message = presetMessage(5, 9, 10);
    ASSERT_TRUE(message.message);
    const net::RawMessage expected = net::withChecksum({0x1C, 5, 244, 0x00, 1, 1, 0xFF});
    EXPECT_EQ(*message.message, expected);
    EXPECT_TRUE(net::hasValidChecksum(*message.message));
}

struct LevelRow {
    int level;
    long byte;
};

void PrintTo(const LevelRow& row, std::ostream* os) {
    *os << qv::test::caseName(row.level);
}

class ChannelLevelTest : public ::testing::TestWithParam<LevelRow> {};

TEST_P(ChannelLevelTest, LevelByteIsRoundedHalfToEven) {
    EXPECT_EQ(channelLevelByte(GetParam().level), GetParam().byte);
}

// 255 - 50 * 2.55 = 127.5 goes to the even 128; 255 - 30 * 2.55 = 178.5 to 178.
INSTANTIATE_TEST_SUITE_P(Rows, ChannelLevelTest,
                         ::testing::Values(LevelRow{100, 0}, LevelRow{0, 255}, LevelRow{50, 128},
                                           LevelRow{30, 178}, LevelRow{1, 252}));

TEST(ChannelMessage, HasTheWholeLayout) {
    const StoredMessage message = channelMessage(7, 3, 100, 2.5);
    ASSERT_TRUE(message.message);
    // Channel travels as number - 1; the fade in whole seconds, half to even.
    EXPECT_EQ(*message.message, net::withChecksum({0x1C, 7, 2, 0x72, 0, 2, 0xFF}));
}

struct RefusalRow {
    const char* what;
    std::function<StoredMessage()> build;
    const char* mentions;
};

void PrintTo(const RefusalRow& row, std::ostream* out) {
    *out << row.what;
}

class RefusalTest : public ::testing::TestWithParam<RefusalRow> {};

TEST_P(RefusalTest, ValueThatDoesNotFitIsRefusedWithAClearMessage) {
    const StoredMessage message = GetParam().build();
    EXPECT_FALSE(message.message);
    EXPECT_TRUE(message.error.contains(QString::fromLatin1(GetParam().mentions)))
        << message.error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RefusalTest,
    ::testing::Values(
        RefusalRow{"area 256", [] { return presetMessage(256, 1, 1); }, "Area 256"},
        RefusalRow{"negative area", [] { return presetMessage(-1, 1, 1); }, "Area -1"},
        RefusalRow{"preset 2049", [] { return presetMessage(1, 2049, 1); }, "Preset 2049"},
        RefusalRow{"preset 0", [] { return presetMessage(1, 0, 1); }, "Preset 0"},
        RefusalRow{"fade above the high byte", [] { return presetMessage(1, 1, 1400); }, "fade"},
        RefusalRow{"channel area 300", [] { return channelMessage(300, 1, 50, 1); }, "Area 300"},
        RefusalRow{"channel 0", [] { return channelMessage(1, 0, 50, 1); }, "Channel 0"},
        RefusalRow{"channel 257", [] { return channelMessage(1, 257, 50, 1); }, "Channel 257"},
        RefusalRow{"level 101", [] { return channelMessage(1, 1, 101, 1); }, "Level 101"},
        RefusalRow{"negative level", [] { return channelMessage(1, 1, -5, 1); }, "Level -5"},
        RefusalRow{"channel fade 256", [] { return channelMessage(1, 1, 5, 256); }, "fade"}));

TEST(StoredValues, FadeNeverBelowOneUnitAndWholeNumbersHalfToEven) {
    EXPECT_DOUBLE_EQ(storedFade(0), 0.02);
    EXPECT_DOUBLE_EQ(storedFade(-3), 0.02);
    EXPECT_DOUBLE_EQ(storedFade(0.01), 0.02);
    EXPECT_DOUBLE_EQ(storedFade(0.5), 0.5);
    EXPECT_EQ(storedWhole(5.5), 6);
    EXPECT_EQ(storedWhole(4.5), 4);
    EXPECT_EQ(storedWhole(-2.4), -2);
}

}  // namespace
}  // namespace qv::macros::test
