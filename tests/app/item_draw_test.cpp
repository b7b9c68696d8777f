#include "app/item_draw.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

TEST(DrawItem, ReachesEveryPartOfALargeVolumeEvenly)
{
    std::mt19937 generator(20240601);
    const std::uint32_t count = 100000;
    const int buckets = 100, draws = 200000;
    std::vector<int> hits(buckets);
    std::int64_t highest = -1;
    for (int i = 0; i < draws; ++i) {
        const std::int64_t item = DrawItem(count, generator, [](std::uint32_t) { return true; });
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

TEST(DrawItem, FindsTheOnlyLiveItemAndFailsWithoutOne)
{
    const std::uint32_t count = 5000;
    int asked = 0;
    for (std::uint32_t live : {0u, 2718u, count - 1}) {
        std::mt19937 generator(live);
        asked = 0;
        EXPECT_EQ(live, DrawItem(count, generator, [&](std::uint32_t n) { return ++asked, n == live; }));
        EXPECT_LE(asked, 16 + static_cast<int>(count));
    }

    std::mt19937 generator(3);
    auto dead = [&](std::uint32_t) { return ++asked, false; };
    asked = 0;
    EXPECT_EQ(-1, DrawItem(1000, generator, dead));
    EXPECT_EQ(16 + 1000, asked);  // each entry asked once after the draws
    asked = 0;
    EXPECT_EQ(-1, DrawItem(0, generator, dead));
    EXPECT_EQ(-1, DrawItem(0xFFFFFFFFu, generator, dead));  // the failed count
    EXPECT_EQ(0, asked);
}
