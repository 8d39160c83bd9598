#include "sim/rate_budget.h"

#include <gtest/gtest.h>

namespace qv::sim {
namespace {

TEST(RateBudget, HighRateComesInBatchesPerTick) {
    RateBudget budget(20000);
    EXPECT_EQ(budget.tickMs(), 5);
    int total = 0;
    for (int ms = 5; ms <= 1000; ms += 5) {
        const int batch = budget.take(ms);
        EXPECT_EQ(batch, 100);
        total += batch;
    }
    EXPECT_EQ(total, 20000);
}

TEST(RateBudget, SlowRateAccumulates) {
    RateBudget budget(0.5);
    EXPECT_EQ(budget.tickMs(), 100);
    int total = 0;
    for (int ms = 100; ms <= 10000; ms += 100) total += budget.take(ms);
    EXPECT_EQ(total, 5);
}

TEST(RateBudget, UnevenTicksLoseNothing) {
    RateBudget budget(333);
    int total = 0;
    for (int ms : {7, 8, 30, 31, 250, 251, 400, 600, 800, 1000}) total += budget.take(ms);
    EXPECT_EQ(total, 333);
}

TEST(RateBudget, AStallIsNotRepaidAtOnce) {
    RateBudget budget(1000);
    EXPECT_EQ(budget.take(10), 10);
    EXPECT_EQ(budget.take(5010), 250);
    EXPECT_EQ(budget.take(5020), 10);
}

TEST(RateBudget, ZeroRateSendsNothing) {
    RateBudget budget(0);
    EXPECT_EQ(budget.take(100000), 0);
}

}  // namespace
}  // namespace qv::sim
