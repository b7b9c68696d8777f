#include "frame/tool_window.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>

#include "frame/tool_button.h"
#include "tests/frame/gui_test_support.h"
#include "tests/frame/recording_window.h"

namespace {

const char kWide[] = "TOOLWIDE";  // 24 x 20, all blue

std::pair<int, int> ClientSize(HWND window)
{
    RECT client = {};
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

// The button whose left edge is at x in the tool window's client area.
HWND ButtonAt(const ToolWindow& tool, int x)
{
    return ChildWindowFromPointEx(tool.Handle(), {x, 0}, CWP_ALL);
}

// Presses the button at down and lets go at up (posted first, for the press loop to find).
void Click(HWND button, POINT down = {5, 5}, POINT up = {5, 5})
{
    PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(up.x, up.y));
    SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.x, down.y));
}

// A tool window with a button for command 109, in an owner that records the commands.
class ToolWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(1, owner.Create(nullptr));
        ASSERT_EQ(1, tool->Create(owner.Handle()));
        ASSERT_EQ(1, tool->AddButton(kWide, "Next", 109));
        ShowWindow(tool->Handle(), SW_SHOWNOACTIVATE);
        PumpMessages();
        owner.counts.clear();
        button = ButtonAt(*tool, 0);
    }

    RecordingWindow owner{"ToolTestOwner"};
    std::unique_ptr<ToolWindow> tool = std::make_unique<ToolWindow>();
    HWND button = nullptr;
};

}  // namespace

TEST_F(ToolWindowTest, APressSendsItsCommandOnlyWhenReleasedInsideAndNotWhenAModalWindowOpens)
{
    // A modal window opened while the button tracks a press gets the mouse; no command follows.
    RecordingWindow modal("ToolTestModal");
    modal.on_created = [](RecordingWindow& w) { w.StartTimer(1, 10); ClickAtCentre(w.Handle()); };
    modal.done = [](RecordingWindow& w) {
        return w.Count("OnMouseButton") > 0 || w.ticks.size() >= 100 ? 1 : 0;
    };
    owner.on_tick = [&](RecordingWindow& w) {
        w.StopTimer(5);
        modal.RunModal();
        // A press still tracked ends here, over the button.
        PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    };
    owner.StartTimer(5, 10);
    SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PumpMessages();
    EXPECT_EQ(1, modal.Count("OnMouseButton"));
    EXPECT_EQ(0, owner.Count("OnCommand"));
    EXPECT_EQ(kToolButtonUp, ToolButton::FromHandle(button)->State());
    EXPECT_EQ(nullptr, GetCapture());

    Click(button, {3, 4}, {-2, 4});  // let go outside
    EXPECT_EQ(0, owner.Count("OnCommand"));
    Click(button, {3, 4}, {6, 7});
    ASSERT_EQ(1, owner.Count("OnCommand"));
    EXPECT_EQ(std::make_pair(WPARAM(109), LPARAM(MAKELPARAM(3, 4))),
              std::make_pair(owner.command.wparam, owner.command.lparam));
}

TEST_F(ToolWindowTest, ButtonsLineUpAndGoWithTheToolWindow)
{
    ASSERT_EQ(1, tool->AddButton(kWide, nullptr, 2));
    EXPECT_EQ(std::make_pair(48, 20), ClientSize(tool->Handle()));
    HWND dropped = ButtonAt(*tool, 24);
    EXPECT_EQ(button, ButtonAt(*tool, 23));
    EXPECT_NE(button, dropped);

    const int windows = ThreadWindowCount();
    HGDIOBJ bitmap = tool->BitmapAt(2);
    delete ToolButton::FromHandle(dropped);  // takes its window along, once
    EXPECT_FALSE(IsWindow(dropped));
    EXPECT_TRUE(IsWindow(button));
    PumpMessages();
    tool.reset();
    EXPECT_FALSE(IsWindow(button));
    EXPECT_EQ(nullptr, ToolButton::Hovered());
    EXPECT_EQ(0u, GetObjectType(bitmap));
    EXPECT_EQ(windows - 1, ThreadWindowCount());
}
