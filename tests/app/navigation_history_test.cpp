#include "app/navigation_history.h"

#include <gtest/gtest.h>

#include <cstdint>

TEST(NavigationHistory, KeepsTheLastHundredAndWalksBackThroughThem)
{
    NavigationHistory history;
    for (std::uint32_t n = 1000; n < 1150; ++n)
        history.Record(n);
    ASSERT_EQ(100, history.Top());
    EXPECT_EQ(1050u, history.Entry(0));
    EXPECT_EQ(1149u, history.Entry(99));

    // Steps back as the application does, showing and recording each
    // candidate again, until the first beep.
    std::uint32_t on_show = 1149, candidate = 0, steps = 0;
    for (; history.StepBack(on_show, candidate); on_show = candidate, ++steps)
        history.Record(candidate);
    EXPECT_EQ(99u, steps);
    EXPECT_EQ(1050u, on_show);
    EXPECT_EQ(-1, history.Top());
}
