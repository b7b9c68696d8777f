#include "app/navigation_history.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

const std::uint32_t kNoItem = 0xFFFFFFFFu;  // position -1: nothing on show

}  // namespace

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

TEST(NavigationHistory, BeepsWithNothingToGoBackToAndAfterAFailedMove)
{
    NavigationHistory history;
    std::uint32_t candidate = 77;
    EXPECT_EQ(0, history.StepBack(5, candidate));
    EXPECT_EQ(77u, candidate);
    // The only entry is on show: a beep, and the history is given up.
    history.Record(5);
    EXPECT_EQ(0, history.StepBack(5, candidate));
    EXPECT_EQ(-1, history.Top());

    // With nothing on show (a failed move) the newest entry is the candidate.
    history.Record(5);
    history.Record(9);
    ASSERT_EQ(1, history.StepBack(kNoItem, candidate));
    EXPECT_EQ(9u, candidate);
    EXPECT_EQ(1, history.Top());
    // Stepping back to 5 from 9, and that item then failing to read: the
    // next step back from nothing finds the history spent.
    history.Record(9);
    ASSERT_EQ(1, history.StepBack(9, candidate));
    EXPECT_EQ(5u, candidate);
    EXPECT_EQ(0, history.StepBack(kNoItem, candidate));
    EXPECT_EQ(-1, history.Top());
}
