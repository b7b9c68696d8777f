#include "frame/progress_window.h"

#include <gtest/gtest.h>

#include <memory>

#include "frame/main_window_claim.h"
#include "frame/window_thread.h"
#include "tests/frame/gui_test_support.h"

namespace {

const COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255),
               kGrey = RGB(128, 128, 128), kBlack = RGB(0, 0, 0);

// Shows the window with a client area of exactly width x height.
void ShowWithClientSize(HWND window, int width, int height)
{
    RECT outer = {0, 0, width, height};
    AdjustWindowRectEx(&outer, DWORD(GetWindowLongPtrA(window, GWL_STYLE)), FALSE,
                       DWORD(GetWindowLongPtrA(window, GWL_EXSTYLE)));
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    PumpMessages(50);
}
}  // namespace

// Each step repaints at once: the ellipse takes the colour of the leg the point is on and a
// line runs from the centre to the point.
TEST(ProgressWindowTest, StepsRepaintThePointClockwiseRoundTheBorder)
{
    ProgressWindow progress;
    ASSERT_EQ(1, progress.Create(nullptr));
    HWND window = progress.Handle();
    ShowWithClientSize(window, 100, 100);
    // The fill, a pixel on the line to the point, one where the last point's line was, laps.
    const struct { unsigned step; COLORREF fill; POINT on_line, off_line; int laps; } cases[] = {
        {50, kRed, {90, 50}, {50, 90}, 0},     // right edge, 50 down
        {100, kGreen, {50, 90}, {90, 50}, 0},  // bottom edge, at 150
        {100, kBlue, {10, 50}, {50, 90}, 0},   // left edge, at 250
        {100, kGrey, {50, 30}, {10, 50}, 0},   // top edge, at 350
        {50, kGrey, {90, 10}, {50, 30}, 1},    // a whole lap: top-right corner
        {1, kRed, {75, 25}, {50, 30}, 0},      // 401 wraps to 1
    };
    HDC dc = GetDC(window);
    for (const auto& c : cases) {
        progress.Step(c.step);
        SCOPED_TRACE(progress.Count());
        EXPECT_EQ(c.laps, progress.Laps());
        EXPECT_EQ(c.fill, GetPixel(dc, 30, 60));
        EXPECT_EQ(kBlack, GetPixel(dc, c.on_line.x, c.on_line.y));
        EXPECT_EQ(c.fill, GetPixel(dc, c.off_line.x, c.off_line.y));
        EXPECT_EQ(kBlack, GetPixel(dc, 75, 25));
    }

    // Without a window a step only counts; the count reads in four or more digits.
    ProgressWindow windowless;
    windowless.Step(401);
    EXPECT_STREQ("0401", windowless.Text().c_str());
    windowless.Step(0xFFFFFFFFu - 401);
    EXPECT_STREQ("4294967295", windowless.Text().c_str());
    ReleaseDC(window, dc);
}

// As the database uses it: the window lives in a thread of its own (started once, here
// suspended, claiming no loop); each step waits for its paint; deleting the object ends both.
TEST(ProgressWindowTest, StepFromAnotherThreadPaintsAndDeletingEndsTheThread)
{
    auto progress = std::make_unique<ProgressWindow>();
    WindowThread thread(0, THREAD_PRIORITY_LOWEST);
    ASSERT_EQ(1, thread.Start(progress.get()));
    EXPECT_EQ(0, thread.Start(progress.get()));
    EXPECT_EQ(0, thread.WaitForWindow(100));
    EXPECT_EQ(1, thread.Resume());
    ASSERT_EQ(1, thread.WaitForWindow(5000));
    EXPECT_EQ(0, MainWindowClaimed());
    progress->Step(1);
    EXPECT_EQ(0, progress->Laps());  // -1 until painted
    HWND window = progress->Handle();
    progress.reset();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread.Handle(), 0));
}
