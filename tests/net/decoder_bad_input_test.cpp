// Lines the decoder must read nothing from: wrong checksums, wrong syncs,
// the wrong number of bytes, and text that is no message at all.

#include "decoder_fixture.h"

namespace qv::net::test {
namespace {

struct BadLineRow {
    const char* name;
    std::string line;
    friend void PrintTo(const BadLineRow& row, std::ostream* os) { *os << row.name; }
};

class BadLineTest : public DecoderFixture, public testing::TestWithParam<BadLineRow> {};

TEST_P(BadLineTest, DecodesNothingAndChangesNothing) {
    const Decoded d = decoder.decode(GetParam().line);
    expectNothingDecoded(d);
    EXPECT_EQ(areasWithPreset(), 0);
    EXPECT_EQ(reportedLevels(), 0);
    for (int box = 1; box <= 255; ++box) ASSERT_EQ(state.lux(box), -1);
}

std::string rowName(const testing::TestParamInfo<BadLineRow>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(
    Checksum, BadLineTest,
    testing::Values(BadLineRow{"AreaChecksumOffByOne", rawInboxLine("1C 05 02 62 00 00 FF 7D ")},
                    BadLineRow{"AreaDataCorrupted", rawInboxLine("1C 05 03 62 00 00 FF 7C ")},
                    BadLineRow{"SensorChecksumOffByOne", rawInboxLine("5C A5 07 0A 00 01 2C C2 ")},
                    BadLineRow{"BoxChecksumOffByOne", rawInboxLine("5C 20 03 00 01 0A 00 77 ")},
                    // Area checksums are compared as upper-case text.
                    BadLineRow{"AreaLowerCaseChecksum", rawInboxLine("1C 05 02 62 00 00 FF 7c ")},
                    BadLineRow{"AreaLowerCaseSync", rawInboxLine("1c 05 02 62 00 00 FF 7C ")}),
    rowName);

INSTANTIATE_TEST_SUITE_P(Sync, BadLineTest,
                         testing::Values(BadLineRow{"Sync1D", rawInboxLine("1D 05 02 62 00 00 FF 7B ")},
                                         BadLineRow{"Sync00", rawInboxLine("00 05 02 62 00 00 FF 98 ")}),
                         rowName);

INSTANTIATE_TEST_SUITE_P(
    Length, BadLineTest,
    testing::Values(BadLineRow{"Empty", ""}, BadLineRow{"MarkersOnly", " D:O:"},
                    BadLineRow{"SyncOnly", rawInboxLine("1C ")},
                    BadLineRow{"SevenBytes", rawInboxLine("1C 05 02 62 00 00 FF ")},
                    BadLineRow{"BoxSevenBytes", rawInboxLine("5C A5 07 00 00 00 00 ")},
                    // The six bytes sum to 0x100, so a missing checksum must not read as 00.
                    BadLineRow{"BoxSevenBytesSummingToZero", rawInboxLine("5C A4 00 00 00 00 00 ")},
                    BadLineRow{"NineBytes", rawInboxLine("1C 05 02 62 00 00 FF 7C 01 ")},
                    BadLineRow{"NineBytesTrailingZero", rawInboxLine("1C 05 02 62 00 00 FF 7C 00 ")},
                    BadLineRow{"SixteenBytes",
                               rawInboxLine("1C 05 02 62 00 00 FF 7C 1C 06 07 62 00 00 FF 76 ")},
                    BadLineRow{"CutInsideChecksum", rawInboxLine("1C 05 02 62 00 00 FF 7")}),
    rowName);

INSTANTIATE_TEST_SUITE_P(Garbage, BadLineTest,
                         testing::Values(BadLineRow{"Words", "hello world D:yesterdayO:nowhere"},
                                         BadLineRow{"NoSpaces", rawInboxLine("1C0502620000FF7C")},
                                         BadLineRow{"NotHex", rawInboxLine("1C 05 ZZ 62 00 00 FF 7C ")},
                                         BadLineRow{"ControlBytes",
                                                    std::string("1C\0\xff\x80 05 D:\x01O:\x02", 16)},
                                         BadLineRow{"VeryLong", rawInboxLine(std::string(100000, 'F'))},
                                         BadLineRow{"LongRunOfFields", rawInboxLine([] {
                                                        std::string hex;
                                                        for (int i = 0; i < 20000; ++i) hex += "1C ";
                                                        return hex;
                                                    }())}),
                         rowName);

class ChecksumComparisonTest : public DecoderFixture, public testing::Test {};

// Box checksums are compared as numbers, so lower-case digits still pass,
// but the sensor reading needs the upper-case text.
TEST_F(ChecksumComparisonTest, BoxAcceptsLowerCaseChecksum) {
    const Decoded d = decoder.decode(rawInboxLine("5C 20 1A A3 00 00 00 c7 "));
    EXPECT_TRUE(d.checksumOk);
    EXPECT_EQ(d.description, "Total Current of box 1A is ");
}

TEST_F(ChecksumComparisonTest, SensorReadingNeedsUpperCaseChecksum) {
    const Decoded upper = decoder.decode(rawInboxLine("5C A5 07 0A 00 01 2C C1 "));
    ASSERT_TRUE(upper.sensorReading.has_value());
    state.reset();
    const Decoded lower = decoder.decode(rawInboxLine("5C A5 07 0A 00 01 2C c1 "));
    EXPECT_FALSE(lower.sensorReading.has_value());
    EXPECT_EQ(state.lux(7), -1);
}

// A checksum of 00 is a real checksum, not a missing field.
TEST_F(ChecksumComparisonTest, ChecksumZeroIsAccepted) {
    const Decoded area = decoder.decode(rawInboxLine("1C 06 32 0B 00 01 A0 00 "));
    EXPECT_EQ(area.description, "Set area 6 to preset 14");
    const Decoded box = decoder.decode(rawInboxLine("5C 20 03 00 01 0A 76 00 "));
    EXPECT_EQ(box.description, "Box 3 ver 1.A");
}

}  // namespace
}  // namespace qv::net::test
