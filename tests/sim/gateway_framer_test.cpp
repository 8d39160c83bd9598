#include "sim/gateway_framer.h"
#include "messages.h"

#include <gtest/gtest.h>

namespace qv::sim {
namespace {

using test::msg;
using test::msgs;

// Bytes arrive in the given chunks; the framer must find exactly these
// messages and skip exactly this many bytes.
struct FramerRow {
    const char* name;
    std::vector<QByteArray> chunks;
    std::vector<std::string> messages;
    std::uint64_t skipped;
};

void PrintTo(const FramerRow& row, std::ostream* out) {
    *out << row.name;
}

const QByteArray kQuery = test::bytes("1C 05 00 63 00 00 FF");
const QByteArray kLux = test::bytes("5C A5 07 09 00 00 FF");
const QByteArray kBadQuery = test::bytes("1C 05 00 63 00 00 FF 7F");

class Framing : public ::testing::TestWithParam<FramerRow> {};

TEST_P(Framing, FindsTheMessages) {
    const FramerRow& row = GetParam();
    GatewayFramer framer;
    std::vector<net::RawMessage> found;
    for (const QByteArray& chunk : row.chunks) {
        const auto got = framer.feed(reinterpret_cast<const std::uint8_t*>(chunk.constData()),
                                     static_cast<std::size_t>(chunk.size()));
        found.insert(found.end(), got.begin(), got.end());
    }
    EXPECT_EQ(found, msgs(row.messages));
    EXPECT_EQ(framer.skippedBytes(), row.skipped);
}

INSTANTIATE_TEST_SUITE_P(
    GatewayFramer, Framing,
    ::testing::Values(
        FramerRow{"Whole", {kQuery}, {"1C 05 00 63 00 00 FF"}, 0},
        FramerRow{"ByteByByte",
                  {kQuery.left(1), kQuery.mid(1, 3), kQuery.mid(4, 1), kQuery.mid(5)},
                  {"1C 05 00 63 00 00 FF"},
                  0},
        FramerRow{"TwoInOneWrite", {kQuery + kLux}, {"1C 05 00 63 00 00 FF", "5C A5 07 09 00 00 FF"}, 0},
        FramerRow{"SecondStraddlesWrites",
                  {kQuery + kLux.left(3), kLux.mid(3)},
                  {"1C 05 00 63 00 00 FF", "5C A5 07 09 00 00 FF"},
                  0},
        FramerRow{"GarbageBefore", {QByteArray("\x00\xFF\x41", 3) + kQuery}, {"1C 05 00 63 00 00 FF"}, 3},
        FramerRow{"TornMessageThenWhole", {kQuery.left(5) + kLux}, {"5C A5 07 09 00 00 FF"}, 5},
        FramerRow{"SyncByteInGarbage", {QByteArray("\x1C\x5C\x1C", 3) + kLux}, {"5C A5 07 09 00 00 FF"}, 3},
        FramerRow{"BadChecksumSkipped", {kBadQuery + kQuery}, {"1C 05 00 63 00 00 FF"}, 8},
        FramerRow{"IncompleteWaits", {kQuery.left(7)}, {}, 0},
        FramerRow{"OnlyGarbage", {QByteArray(20, '\x07')}, {}, 20}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GatewayFramer, ResetForgetsAPartialMessage) {
    GatewayFramer framer;
    framer.feed(reinterpret_cast<const std::uint8_t*>(kQuery.constData()), 4);
    framer.reset();
    const QByteArray rest = kQuery.mid(4) + kLux;
    EXPECT_EQ(framer.feed(reinterpret_cast<const std::uint8_t*>(rest.constData()), rest.size()),
              msgs({"5C A5 07 09 00 00 FF"}));
}

}  // namespace
}  // namespace qv::sim
