#include <gtest/gtest.h>

#include <climits>
#include <set>

#include "commands/random_number.h"

TEST(RandomNumber, ReseedsWithinOneMillisecondDiffer)
{
    for (std::uint32_t tick : {0u, 123456u, 0xFFFFFFF0u}) {
        ReseedRandomAt(tick);
        const std::uint32_t first = LastSeed();
        ReseedRandomAt(tick);
        const std::uint32_t step = LastSeed() - first;  // modulo 2^32
        EXPECT_EQ(step, (first & 0xFF) + 100) << tick;
        EXPECT_GE(step, 100u);
        EXPECT_LE(step, 355u);
    }
}

TEST(RandomNumber, StaysInRangeAndReachesEveryNumber)
{
    ReseedRandom();
    std::set<int> seen;
    for (int i = 0; i < 2000; ++i) {
        const int n = RandomBetween(3, 9);
        ASSERT_GE(n, 3);
        ASSERT_LE(n, 9);
        seen.insert(n);
    }
    EXPECT_EQ(seen.size(), 7u);
    for (int i = 0; i < 10000; ++i) {
        const int n = RandomBetween(10000, 9999999);
        ASSERT_GE(n, 10000);
        ASSERT_LE(n, 9999999);
    }
    EXPECT_EQ(RandomBetween(5, 5), 5);
    const int wide = RandomBetween(INT_MIN, INT_MAX);  // no overflow for the widest range
    (void)wide;
}
