#include "net/decoder.h"

#include <gtest/gtest.h>

namespace qv::net {
namespace {

struct SplitRow {
    const char* name;
    std::string line;
    std::string hex;
    std::string dateTime;
    std::string origin;
    friend void PrintTo(const SplitRow& row, std::ostream* os) { *os << row.name; }
};

class SplitInboxLineTest : public testing::TestWithParam<SplitRow> {};

TEST_P(SplitInboxLineTest, Parts) {
    const auto& row = GetParam();
    const InboxLine parts = splitInboxLine(row.line);
    EXPECT_EQ(parts.hex, row.hex);
    EXPECT_EQ(parts.dateTime, row.dateTime);
    EXPECT_EQ(parts.origin, row.origin);
}

const std::string kLongOrigin(60, 'x');

INSTANTIATE_TEST_SUITE_P(
    Rows, SplitInboxLineTest,
    testing::Values(SplitRow{"FromSerialPort", "1C 05 02 62 00 00 FF 7C  D:01/02/2024 10:15:00O:Comms",
                             "1C 05 02 62 00 00 FF 7C", "01/02/2024 10:15:00", "Comms"},
                    SplitRow{"FromServer", "1C 05 02 62 00 00 FF 7C D:2024-02-01 10:15O:QuorvelServer",
                             "1C 05 02 62 00 00 FF 7C", "2024-02-01 10:15", "QuorvelServer"},
                    SplitRow{"OriginCutAt50", "1C D:tO:" + kLongOrigin, "1C", "t", kLongOrigin.substr(0, 50)},
                    SplitRow{"NoOrigin", "1C 05  D:01/02/2024", "1C 05", "01/02/2024", ""},
                    SplitRow{"NoDate", "1C 05 02   ", "1C 05 02", "", ""},
                    SplitRow{"NoDateButOrigin", "1C 05 O:Comms", "1C 05", "", "Comms"},
                    SplitRow{"Empty", "", "", "", ""}, SplitRow{"MarkersOnly", "D:O:", "", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(InboxLine, MadeLinesSplitBack) {
    const std::string line = makeInboxLine("1C 05 02 62 00 00 FF 7C ", "01/02/2024 10:15:00", "Comms");
    EXPECT_EQ(line, "1C 05 02 62 00 00 FF 7C  D:01/02/2024 10:15:00O:Comms");
    const InboxLine parts = splitInboxLine(line);
    EXPECT_EQ(parts.hex, "1C 05 02 62 00 00 FF 7C");
    EXPECT_EQ(parts.dateTime, "01/02/2024 10:15:00");
    EXPECT_EQ(parts.origin, "Comms");
}

}  // namespace
}  // namespace qv::net
