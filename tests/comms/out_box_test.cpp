// The out box's echo rule and its overflow discard.

#include "comms/out_box.h"

#include <gtest/gtest.h>

namespace qv::comms {
namespace {

net::RawMessage numbered(int n) {
    return net::withChecksum({0x1C, static_cast<std::uint8_t>(n & 0xFF), static_cast<std::uint8_t>(n >> 8),
                              0x71, 0x00, 0x00, 0xFF});
}

TEST(OutBox, HeadIsWrittenAgainUntilItsEchoArrives) {
    OutBox box;
    box.push(numbered(1));
    box.push(numbered(2));
    EXPECT_EQ(box.tick().write, numbered(1));
    EXPECT_EQ(box.tick().write, numbered(1));
    EXPECT_TRUE(box.acknowledge(numbered(1)));
    EXPECT_EQ(box.tick().write, numbered(2));
}

TEST(OutBox, OnlyAnExactEchoOfTheHeadAcknowledges) {
    OutBox box;
    box.push(numbered(1));
    box.push(numbered(2));
    net::RawMessage almost = numbered(1);
    almost[4] ^= 0x01;
    EXPECT_FALSE(box.acknowledge(almost));
    EXPECT_FALSE(box.acknowledge(numbered(2)));  // not the head
    EXPECT_EQ(box.size(), 2u);
}

TEST(OutBox, EmptyBoxWritesNothingAndAcknowledgesNothing) {
    OutBox box;
    EXPECT_FALSE(box.tick().write.has_value());
    EXPECT_FALSE(box.acknowledge(numbered(1)));
}

TEST(OutBox, FiveHundredWaitingIsNoOverflowThe501stDiscardsThe250OldestStuckHeadAmongThem) {
    OutBox box;
    for (int i = 0; i < 500; ++i) box.push(numbered(i));
    EXPECT_FALSE(box.tick().overflowed);
    EXPECT_EQ(box.size(), 500u);
    box.push(numbered(500));
    const OutBox::Tick tick = box.tick();
    EXPECT_TRUE(tick.overflowed);
    EXPECT_EQ(box.size(), 251u);
    EXPECT_EQ(tick.write, numbered(250));
}

}  // namespace
}  // namespace qv::comms
