#include "app/item_draw.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

bool AllLive(std::uint32_t)
{
    return true;
}

}  // namespace

TEST(DrawItem, ReachesEveryPartOfALargeVolumeEvenly)
{
    std::mt19937 generator(20240601);
    const std::uint32_t count = 100000;
    const int buckets = 100, draws = 200000;
    std::vector<int> hits(buckets);
    std::int64_t highest = -1;
    for (int i = 0; i < draws; ++i) {
        const std::int64_t item = DrawItem(count, generator, AllLive);
        ASSERT_GE(item, 0);
        ASSERT_LT(item, count);
        highest = std::max(highest, item);
        ++hits[static_cast<size_t>(item / (count / buckets))];
    }
    EXPECT_GT(highest, 32767);
    // Chi-square over 100 buckets (99 degrees of freedom): 160 is passed
    // by chance about once in ten thousand runs.
    const double expected = double(draws) / buckets;
    double chi_square = 0;
    for (int h : hits)
        chi_square += (h - expected) * (h - expected) / expected;
    EXPECT_LT(chi_square, 160.0);
}

TEST(DrawItem, TakesNoShareOfTheGeneratorRangeTwice)
{
    // 2^32 % (3 x 2^30) is 2^30: a plain modulo would give the lowest
    // third of the items half of all draws.
    std::mt19937 generator(7);
    const std::uint32_t count = 0xC0000000u;
    int low = 0;
    for (int i = 0; i < 30000; ++i)
        low += DrawBelow(count, generator) < 0x40000000u;
    EXPECT_NEAR(10000, low, 500);
    EXPECT_EQ(0u, DrawBelow(1, generator));
}

TEST(DrawItem, FindsTheOnlyLiveItem)
{
    const std::uint32_t count = 5000;
    for (std::uint32_t live : {0u, 2718u, count - 1}) {
        for (std::uint32_t seed = 1; seed <= 20; ++seed) {
            std::mt19937 generator(seed);
            int asked = 0;
            auto is_live = [&](std::uint32_t n) {
                ++asked;
                EXPECT_LT(n, count);
                return n == live;
            };
            EXPECT_EQ(live, DrawItem(count, generator, is_live));
            EXPECT_LE(asked, 16 + static_cast<int>(count));
        }
    }
}

TEST(DrawItem, FailsWithoutALiveItemOrOnAFailedCount)
{
    std::mt19937 generator(3);
    int asked = 0;
    auto dead = [&](std::uint32_t) {
        ++asked;
        return false;
    };
    EXPECT_EQ(-1, DrawItem(1000, generator, dead));
    EXPECT_EQ(16 + 1000, asked);

    asked = 0;
    EXPECT_EQ(-1, DrawItem(0, generator, dead));
    EXPECT_EQ(-1, DrawItem(0xFFFFFFFFu, generator, dead));
    EXPECT_EQ(0, asked);
}
