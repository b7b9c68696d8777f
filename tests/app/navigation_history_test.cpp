#include "app/navigation_history.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

TEST(NavigationHistory, KeepsTheLastHundredAndWalksBackThroughThem)
{
    NavigationHistory history;
    for (std::uint32_t n = 1000; n < 1150; ++n)
        history.Record(n);
    ASSERT_EQ(100, history.Top());
    EXPECT_EQ(1050u, history.Entry(0));
    EXPECT_EQ(1149u, history.Entry(99));

    // Steps back as the application does: a candidate is shown and
    // recorded again, until the first beep.
    std::vector<std::uint32_t> shown;
    for (std::uint32_t on_show = 1149, candidate = 0; history.StepBack(on_show, candidate);
         on_show = candidate) {
        history.Record(candidate);
        shown.push_back(candidate);
    }
    ASSERT_EQ(99u, shown.size());
    EXPECT_EQ(1148u, shown.front());
    EXPECT_EQ(1050u, shown.back());
    EXPECT_EQ(-1, history.Top());
}
