#include "frame/tool_window.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "frame/tool_button.h"
#include "tests/frame/gui_test_support.h"
#include "tests/frame/recording_window.h"

namespace {

const char kWide[] = "TOOLWIDE";  // 24 x 20, all blue
const COLORREF kBlue = RGB(0, 0, 255), kGrey = RGB(0x80, 0x80, 0x80);
const COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF), kBlack = RGB(0, 0, 0);

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

// Presses the button at down and lets go at up. The button-up is posted first, so that the
// press loop finds it and ends.
void Click(HWND button, POINT down = {5, 5}, POINT up = {5, 5})
{
    PostMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(up.x, up.y));
    SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.x, down.y));
}

// A tool window inside an owner that records the commands it gets.
class ToolWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(1, owner.Create(nullptr));
        ASSERT_EQ(1, tool.Create(owner.Handle()));
        ShowWindow(tool.Handle(), SW_SHOWNOACTIVATE);
        PumpMessages();
        owner.counts.clear();
    }

    RecordingWindow owner{"ToolTestOwner"};
    ToolWindow tool;
};

}  // namespace

TEST_F(ToolWindowTest, ButtonsLineUpAndFitTheWindow)
{
    ASSERT_EQ(1, tool.AddButton(kWide, "Previous Quote", 1));
    ASSERT_EQ(1, tool.AddButton(kWide, nullptr, 2));
    EXPECT_EQ(std::make_pair(48, 20), ClientSize(tool.Handle()));
    EXPECT_NE(ButtonAt(tool, 24), ButtonAt(tool, 23));
    SendMessageA(ButtonAt(tool, 0), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_EQ("Previous Quote", WindowText(tool.Handle()));

    // Without a loadable bitmap a button is 13 x 13.
    ASSERT_EQ(1, tool.AddButton("NOSUCHBITMAP", nullptr, 40));
    EXPECT_EQ(std::make_pair(61, 20), ClientSize(tool.Handle()));
    EXPECT_EQ(std::make_pair(13, 13), ClientSize(ButtonAt(tool, 48)));
}

TEST_F(ToolWindowTest, ReleaseOutsideSendsNothingAndReleaseInsideSendsTheCommand)
{
    ASSERT_EQ(1, tool.AddButton(kWide, "Next", 109));
    HWND button = ButtonAt(tool, 0);
    Click(button, {3, 4}, {-2, 4});
    EXPECT_EQ(0, owner.Count("OnCommand"));
    Click(button, {3, 4}, {6, 7});
    EXPECT_EQ(kToolButtonUp, ToolButton::FromHandle(button)->State());
    ASSERT_EQ(1, owner.Count("OnCommand"));
    EXPECT_EQ(109u, owner.command.wparam);
    EXPECT_EQ(MAKELPARAM(3, 4), owner.command.lparam);

    // Buttons that stay down work as radio buttons within their group.
    std::vector<ToolButton*> radios;
    for (int group : {1, 1, 2}) {
        ToolButtonDescriptor descriptor{0, 0, kToolStaysDown, 110, kToolButtonUp, group};
        ASSERT_EQ(1, tool.CreateButton(descriptor));
        radios.push_back(ToolButton::FromHandle(descriptor.window));
    }
    for (ToolButton* radio : {radios[0], radios[2], radios[1]})
        Click(radio->Handle());
    EXPECT_EQ(kToolButtonUp, radios[0]->State());
    EXPECT_EQ(kToolButtonDown, radios[1]->State());
    EXPECT_EQ(kToolButtonDown, radios[2]->State());
}

// The owner's timer opens a modal window while the button tracks a press: that window gets
// the mouse, and the press ends without a command.
TEST_F(ToolWindowTest, AModalWindowOpenedDuringAPressTakesTheMouse)
{
    ASSERT_EQ(1, tool.AddButton(kWide, "Next", 109));
    HWND button = ButtonAt(tool, 0);
    RecordingWindow modal("ToolTestModal");
    modal.on_created = [](RecordingWindow& w) {
        w.StartTimer(1, 10);
        RECT client = {};
        GetClientRect(w.Handle(), &client);
        POINT centre = {client.right / 2, client.bottom / 2};
        ClientToScreen(w.Handle(), &centre);
        ClickAtScreenPoint(centre);
    };
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
}

TEST_F(ToolWindowTest, RaisedSunkenAndFlatButtonsDrawTheirFramesAndBitmaps)
{
    auto add = [this](unsigned style) {
        const unsigned bitmap = tool.AddBitmap(kWide);
        ToolButtonDescriptor descriptor{bitmap, bitmap, style, 1, kToolButtonUp, 0};
        return tool.CreateButton(descriptor) ? ToolButton::FromHandle(descriptor.window) : nullptr;
    };
    ToolButton* raised = add(kToolPopsUp);
    ToolButton* sunken = add(kToolPopsUp);
    ToolButton* flat = add(kToolPopsUp | kToolFlat);
    sunken->SetState(kToolButtonDown);
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP canvas = CreateBitmap(26, 22, 1, 32, nullptr);
    SelectObject(dc, canvas);
    // The left, top, right and bottom edges of a 26 x 22 button, then where the 24 x 20
    // bitmap ends: one pixel up and left when raised, down and right when sunken.
    const POINT points[] = {{0, 10}, {10, 0}, {25, 10}, {10, 21}, {22, 18}, {23, 19}, {24, 20}};
    const std::pair<ToolButton*, std::vector<COLORREF>> cases[] = {
        {raised, {kWhite, kWhite, kGrey, kGrey, kBlue, kBlack, kBlack}},
        {sunken, {kGrey, kGrey, kWhite, kWhite, kBlue, kBlue, kBlue}},
        {flat, {kBlue, kBlue, kBlack, kBlack, kBlue, kBlue, kBlack}},
    };
    const RECT client = {0, 0, 26, 22};
    for (const auto& c : cases) {
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        c.first->Draw(dc, client);
        std::vector<COLORREF> seen;
        for (POINT point : points)
            seen.push_back(GetPixel(dc, point.x, point.y));
        EXPECT_EQ(c.second, seen);
    }
    DeleteDC(dc);
    DeleteObject(canvas);
}

TEST_F(ToolWindowTest, WindowsAndBitmapsGoWithTheToolWindow)
{
    const int windows_before = ThreadWindowCount();
    HGDIOBJ bitmap = nullptr;
    HWND kept = nullptr;
    {
        ToolWindow other;
        EXPECT_EQ(0, other.AddButton(kWide, "Tip", 1));  // no window yet
        ASSERT_EQ(1, other.Create(owner.Handle()));
        ASSERT_EQ(1, other.AddButton(kWide, "Tip", 1));
        ASSERT_EQ(1, other.AddButton(kWide, "Tip", 2));
        bitmap = other.BitmapAt(2);
        kept = ButtonAt(other, 0);
        HWND dropped = ButtonAt(other, 24);
        SendMessageA(kept, WM_MOUSEMOVE, 0, 0);
        delete ToolButton::FromHandle(dropped);  // takes its window along, once
        EXPECT_FALSE(IsWindow(dropped));
        EXPECT_TRUE(IsWindow(kept));
        PumpMessages();
    }
    EXPECT_FALSE(IsWindow(kept));
    EXPECT_EQ(nullptr, ToolButton::Hovered());
    EXPECT_EQ(0u, GetObjectType(bitmap));
    EXPECT_EQ(windows_before, ThreadWindowCount());
}
