// Reading what a QuorvelServer says: each reply form as data rows, with the
// damaged forms that must be refused rather than read as zero or past the end.

#include "comms/server_reply_parser.h"
#include "support/case_names.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace qv::comms {
namespace {

struct DecimalRow {
    std::string field;
    std::optional<int> expected;
};
void PrintTo(const DecimalRow& r, std::ostream* os) {
    *os << "field " << qv::test::caseName("[" + r.field + "]");
}

class DecimalFieldTest : public ::testing::TestWithParam<DecimalRow> {};

TEST_P(DecimalFieldTest, ReadsPaddedNumbersAndRefusesTheRest) {
    EXPECT_EQ(decimalField(GetParam().field), GetParam().expected) << "field '" << GetParam().field << "'";
}

INSTANTIATE_TEST_SUITE_P(Rows, DecimalFieldTest,
                         ::testing::Values(DecimalRow{"  12", 12}, DecimalRow{"3   ", 3},
                                           DecimalRow{" 7 ", 7}, DecimalRow{"0023", 23},
                                           DecimalRow{"    ", std::nullopt}, DecimalRow{"", std::nullopt},
                                           DecimalRow{"1 2", std::nullopt}, DecimalRow{"-1", std::nullopt},
                                           DecimalRow{"1A", std::nullopt}, DecimalRow{"\t12", std::nullopt},
                                           DecimalRow{"99999999999999", std::nullopt}));

struct VersionRow {
    std::string text;
    ServerVersion expected;
};
void PrintTo(const VersionRow& r, std::ostream* os) {
    *os << qv::test::caseName(r.text);
}

class VersionTest : public ::testing::TestWithParam<VersionRow> {};

TEST_P(VersionTest, EachNumberIsTheThreeCharactersAfterItsKeyword) {
    const ServerReply reply = parseServerReply(GetParam().text);
    ASSERT_TRUE(reply.version.has_value());
    EXPECT_EQ(*reply.version, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, VersionTest,
    ::testing::Values(VersionRow{"QVELSERVERVERSION MAJOR:  1 MINOR:  0 BUILD:  0", {1, 0, 0}},
                      VersionRow{"QVELSERVERVERSION MAJOR:  3 MINOR: 12 BUILD:456", {3, 12, 456}},
                      // Only three characters count: the fourth digit belongs to nothing.
                      VersionRow{"QVELSERVERVERSION MAJOR:1234MINOR:  2BUILD:  3", {123, 2, 3}},
                      // Order does not matter; missing keywords read as 0.
                      VersionRow{"BUILD:  9 QVELSERVERVERSION MAJOR:  2", {2, 0, 9}},
                      // A field that is not a number is 0, so the version is asked for again.
                      VersionRow{"QVELSERVERVERSION MAJOR:abc MINOR:  1 BUILD:  1", {0, 1, 1}},
                      // The text ends inside the field.
                      VersionRow{"QVELSERVERVERSION MAJOR: 4", {4, 0, 0}},
                      VersionRow{"QVELSERVERVERSION MAJOR:", {0, 0, 0}}));

struct PresetRow {
    std::string text;
    std::optional<PresetReport> expected;
};
void PrintTo(const PresetRow& r, std::ostream* os) {
    *os << qv::test::caseName(r.text);
}

class PresetReportTest : public ::testing::TestWithParam<PresetRow> {};

TEST_P(PresetReportTest, AreaAtCharactersSixToNinePresetAfterPresetColon) {
    const ServerReply reply = parseServerReply(GetParam().text);
    EXPECT_EQ(reply.preset, GetParam().expected);
    EXPECT_EQ(reply.presetMalformed, !GetParam().expected.has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PresetReportTest,
    ::testing::Values(PresetRow{"AREA:  12 IS IN PRESET:   3", PresetReport{12, 3}},
                      PresetRow{"AREA:255  IS IN PRESET:64  ", PresetReport{255, 64}},
                      PresetRow{"AREA:   1 IS IN PRESET:  96", PresetReport{1, 96}},
                      // Out of range, not numbers, or cut short: refused, not stored as area 0.
                      PresetRow{"AREA:  12 IS IN PRESET:  97", std::nullopt},
                      PresetRow{"AREA:   0 IS IN PRESET:   3", std::nullopt},
                      PresetRow{"AREA: 256 IS IN PRESET:   3", std::nullopt},
                      PresetRow{"AREA:  12 IS IN PRESET:   0", std::nullopt},
                      PresetRow{"AREA:  xx IS IN PRESET:   3", std::nullopt},
                      PresetRow{"AREA:  12 IS IN PRESET: x 3", std::nullopt},
                      PresetRow{"AREA:  12 IS IN PRESET:  3", std::nullopt},
                      PresetRow{"AREA:12 IS IN PRESET:   3", std::nullopt},
                      PresetRow{"IS IN PRESET", std::nullopt}));

struct RelayRow {
    std::string text;
    std::optional<std::string> hex;
    bool empty = false;
    bool malformed = false;
};
void PrintTo(const RelayRow& r, std::ostream* os) {
    *os << qv::test::caseName("[" + r.text + "]");
}

class RelayedMessageTest : public ::testing::TestWithParam<RelayRow> {};

TEST_P(RelayedMessageTest, LengthFieldDecidesHowMuchOfTheDatagramIsTheMessage) {
    const RelayRow& row = GetParam();
    const ServerReply reply = parseServerReply(row.text);
    EXPECT_EQ(reply.relayedHex, row.hex);
    EXPECT_EQ(reply.relayedEmpty, row.empty);
    EXPECT_EQ(reply.relayedMalformed, row.malformed);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RelayedMessageTest,
    ::testing::Values(RelayRow{"RS232:  23 1C 05 00 02 00 00 FF DE", "1C 05 00 02 00 00 FF DE"},
                      // Any separator; text after n characters is not part of the message.
                      RelayRow{"RS232:  23|1C 05 00 02 00 00 FF DEjunk after", "1C 05 00 02 00 00 FF DE"},
                      RelayRow{"RS232:0008 1C050002", "1C050002"},
                      RelayRow{"RS232:  24 1C 05 00 02 00 00 FF DE ", "1C 05 00 02 00 00 FF DE "},
                      RelayRow{"RS232:   0 ", std::nullopt, true, false},
                      // Unusable length fields.
                      RelayRow{"RS232:  2x 1C 05 00 02 00 00 FF DE", std::nullopt, false, true},
                      RelayRow{"RS232:  1", std::nullopt, false, true},
                      // Longer than the datagram: never read past its end.
                      RelayRow{"RS232:  24 1C 05 00 02 00 00 FF DE", std::nullopt, false, true},
                      // Longer than any message the network carries (64 bytes).
                      RelayRow{"RS232:9999 " + std::string(9999, 'F'), std::nullopt, false, true},
                      RelayRow{"RS232: 191 " + std::string(191, 'F'), std::string(191, 'F')},
                      // Only hex digits and spaces may reach the in box.
                      RelayRow{"RS232:  21 1C 05 D:2024 O:Forged", std::nullopt, false, true},
                      RelayRow{"RS232:   3    ", std::nullopt, false, true}));

TEST(ServerReplyTest, FormsAreTestedIndependentlyAndInOrder) {
    // A relayed message that happens to mention the version mark: both are read.
    const ServerReply both = parseServerReply("RS232:   2 1CQVELSERVERVERSION MAJOR:  5");
    ASSERT_TRUE(both.version.has_value());
    EXPECT_EQ(both.version->major, 5);
    EXPECT_EQ(both.relayedHex, std::optional<std::string>("1C"));

    const ServerReply ok = parseServerReply("OK   :");
    EXPECT_TRUE(ok.acknowledgement);
    EXPECT_FALSE(ok.version || ok.preset || ok.relayedHex || ok.relayedMalformed || ok.presetMalformed);

    // Two spaces is not the acknowledgement; "RS232:" must start the text.
    EXPECT_FALSE(parseServerReply("OK  :").acknowledgement);
    const ServerReply inside = parseServerReply("xRS232:  23 1C 05 00 02 00 00 FF DE");
    EXPECT_FALSE(inside.relayedHex || inside.relayedMalformed);
}

}  // namespace
}  // namespace qv::comms
