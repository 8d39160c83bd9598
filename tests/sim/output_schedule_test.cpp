#include "sim/output_schedule.h"

#include <gtest/gtest.h>

namespace qv::sim {
namespace {

using Writes = std::vector<QByteArray>;

TEST(OutputSchedule, WaitsForTheDueTime) {
    OutputSchedule schedule;
    schedule.push("echo", 100);
    schedule.push("reply", 105);
    EXPECT_EQ(schedule.takeDue(99, false), Writes{});
    EXPECT_EQ(schedule.nextRelease(), 100);
    EXPECT_EQ(schedule.takeDue(100, false), Writes{"echo"});
    EXPECT_EQ(schedule.nextRelease(), 105);
    EXPECT_EQ(schedule.takeDue(104, false), Writes{});
    EXPECT_EQ(schedule.takeDue(105, false), Writes{"reply"});
    EXPECT_TRUE(schedule.empty());
    EXPECT_FALSE(schedule.nextRelease());
}

TEST(OutputSchedule, KeepsOrderEvenWhenALaterWriteIsDueSooner) {
    OutputSchedule schedule;
    schedule.push("reply", 105);
    schedule.push("echo", 100);
    EXPECT_EQ(schedule.takeDue(100, false), Writes{});
    EXPECT_EQ(schedule.takeDue(105, false), (Writes{"reply", "echo"}));
}

TEST(OutputSchedule, SecondHalfWaitsItsGapAfterTheFirstGoesOut) {
    OutputSchedule schedule;
    schedule.push("1C 05", 10);
    schedule.push(" 00 63", 10, 3);
    // The first half is late; the gap counts from when it actually left.
    EXPECT_EQ(schedule.takeDue(20, true), Writes{"1C 05"});
    EXPECT_EQ(schedule.nextRelease(), 23);
    EXPECT_EQ(schedule.takeDue(22, true), Writes{});
    EXPECT_EQ(schedule.takeDue(23, true), Writes{" 00 63"});
}

TEST(OutputSchedule, MergeJoinsWritesThatLeaveTogether) {
    OutputSchedule schedule;
    schedule.push("a", 5);
    schedule.push("b", 5);
    schedule.push("c", 6);
    EXPECT_EQ(schedule.takeDue(6, true), Writes{"abc"});
    schedule.push("d", 7);
    schedule.push("e", 7);
    EXPECT_EQ(schedule.takeDue(7, false), (Writes{"d", "e"}));
}

TEST(OutputSchedule, MergeDoesNotJoinAcrossAGap) {
    OutputSchedule schedule;
    schedule.push("a", 5);
    schedule.push("b", 5, 2);
    schedule.push("c", 5);
    EXPECT_EQ(schedule.takeDue(5, true), Writes{"a"});
    EXPECT_EQ(schedule.takeDue(7, true), Writes{"bc"});
}

TEST(OutputSchedule, ClearForgetsTheLastRelease) {
    OutputSchedule schedule;
    schedule.push("a", 5);
    schedule.takeDue(5, false);
    schedule.clear();
    schedule.push("b", 6, 100);
    EXPECT_EQ(schedule.takeDue(6, false), Writes{"b"});
}

}  // namespace
}  // namespace qv::sim
