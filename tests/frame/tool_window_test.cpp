#include "frame/tool_window.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "frame/tool_button.h"
#include "tests/frame/gui_test_support.h"
#include "tests/frame/recording_window.h"

namespace {

const char kWide[] = "TOOLWIDE";  // 24 x 20, all blue
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kGrey = RGB(0x80, 0x80, 0x80);
const COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);

std::string TextOf(HWND window)
{
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ClassOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

RECT WindowRectOf(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

// The button whose left edge is at x in the tool window's client area.
HWND ButtonAt(const ToolWindow& tool, int x)
{
    return ChildWindowFromPointEx(tool.Handle(), {x, 0}, CWP_ALL);
}

// Runs a callback from inside the press loop: a message posted between the
// press and the release is dispatched while the loop runs.
std::function<void()> g_probe;

LRESULT CALLBACK ProbeProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_APP && g_probe)
        g_probe();
    return DefWindowProcA(window, message, wparam, lparam);
}

HWND MakeProbe()
{
    WNDCLASSA probe_class = {};
    probe_class.lpfnWndProc = &ProbeProcedure;
    probe_class.hInstance = GetModuleHandleA(nullptr);
    probe_class.lpszClassName = "ToolTestProbe";
    RegisterClassA(&probe_class);
    return CreateWindowExA(0, "ToolTestProbe", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

// Presses button at down and lets go at up. The button-up is posted first,
// so that the press loop finds it and ends; moving out first posts a move
// to the release point before it.
void Click(HWND button, POINT down = {5, 5}, POINT up = {5, 5}, bool move_first = false,
           HWND probe = nullptr)
{
    if (probe)
        PostMessageA(probe, WM_APP, 0, 0);
    if (move_first)
        PostMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(up.x, up.y));
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

    // A button of the wide bitmap with style and group; its window.
    HWND AddStyled(unsigned style, int group, unsigned command)
    {
        ToolButtonDescriptor descriptor;
        descriptor.up_bitmap = descriptor.down_bitmap = tool.AddBitmap(kWide);
        descriptor.style = style;
        descriptor.group = group;
        descriptor.command = command;
        return tool.CreateButton(descriptor) ? descriptor.window : nullptr;
    }

    RecordingWindow owner{"ToolTestOwner"};
    ToolWindow tool;
};

}  // namespace

TEST_F(ToolWindowTest, ButtonsLineUpAndTheWindowFitsThemPlusItsFrame)
{
    HWND window = tool.Handle();
    EXPECT_EQ("TOOLWND", ClassOf(window));
    EXPECT_EQ("Tools", TextOf(window));
    EXPECT_EQ(0x80C00000u, static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) & 0x80C00000u);
    EXPECT_EQ(owner.Handle(), GetParent(window));
    // No main window: 20 pixels in from the desktop's corner.
    EXPECT_EQ(20, WindowRectOf(window).left);
    EXPECT_EQ(20, WindowRectOf(window).top);
    EXPECT_EQ(-1, tool.FrameWidth());

    for (unsigned command = 1; command <= 3; ++command)
        ASSERT_EQ(1, tool.AddButton(kWide, "Wide", command));
    EXPECT_EQ(72, tool.NextX());
    EXPECT_EQ(72, tool.ContentWidth());
    EXPECT_EQ(20, tool.ContentHeight());
    RECT client = {};
    GetClientRect(window, &client);
    EXPECT_EQ(72, client.right);
    EXPECT_EQ(20, client.bottom);
    const RECT outer = WindowRectOf(window);
    EXPECT_EQ(72 + tool.FrameWidth(), outer.right - outer.left);
    EXPECT_EQ(20 + tool.FrameHeight(), outer.bottom - outer.top);
    HWND last = ButtonAt(tool, 48);
    EXPECT_EQ("ToolWndButtonWndClass", ClassOf(last));
    EXPECT_NE(last, ButtonAt(tool, 47));
    EXPECT_EQ(24, WindowRectOf(last).right - WindowRectOf(last).left);
    EXPECT_EQ(20, WindowRectOf(last).bottom - WindowRectOf(last).top);

    // Without a loadable bitmap a button is 13 x 13 and still works.
    ASSERT_EQ(1, tool.AddButton("NOSUCHBITMAP", nullptr, 40));
    EXPECT_EQ(85, tool.NextX());
    EXPECT_EQ(20, tool.RowHeight());
    HWND bare = ButtonAt(tool, 72);
    RECT bare_client = {};
    GetClientRect(bare, &bare_client);
    EXPECT_EQ(13, bare_client.right);
    EXPECT_EQ(13, bare_client.bottom);
    Click(bare);
    EXPECT_EQ(1, owner.Count("OnCommand"));
    EXPECT_EQ(40u, owner.command.wparam);
}

TEST_F(ToolWindowTest, ClickSendsTheCommandToTheParentAndReleaseOutsideSendsNothing)
{
    ASSERT_EQ(1, tool.AddButton(kWide, "Next", 109));
    HWND button = ButtonAt(tool, 0);
    ToolButton* object = ToolButton::FromHandle(button);
    ASSERT_NE(nullptr, object);
    int state_during_press = 0;
    g_probe = [&] { state_during_press = object->State(); };
    HWND probe = MakeProbe();

    Click(button, {3, 4}, {6, 7}, false, probe);
    EXPECT_EQ(kToolButtonDown, state_during_press);  // sunken while held
    EXPECT_EQ(kToolButtonUp, object->State());
    ASSERT_EQ(1, owner.Count("OnCommand"));
    EXPECT_EQ(static_cast<UINT>(WM_COMMAND), owner.command.message);
    EXPECT_EQ(109u, owner.command.wparam);
    EXPECT_EQ(MAKELPARAM(3, 4), owner.command.lparam);  // the press's position

    // Moving out and letting go there: nothing, and the button is raised.
    Click(button, {3, 4}, {40, 4}, true, probe);
    EXPECT_EQ(kToolButtonDown, state_during_press);
    EXPECT_EQ(kToolButtonUp, object->State());
    // Letting go outside without a move first counts as outside as well.
    Click(button, {3, 4}, {-2, 4});
    EXPECT_EQ(1, owner.Count("OnCommand"));
    EXPECT_EQ(kToolButtonUp, object->State());

    // Out and back in again before letting go is a click.
    PostMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(40, 4));
    Click(button, {3, 4}, {5, 5}, true);
    EXPECT_EQ(2, owner.Count("OnCommand"));
    g_probe = nullptr;
    DestroyWindow(probe);
}

TEST_F(ToolWindowTest, StylesDecideTheStateAfterAClick)
{
    // Two stays-down buttons of one group behave as radio buttons.
    HWND first = AddStyled(kToolStaysDown, 5, 11);
    HWND second = AddStyled(kToolStaysDown, 5, 12);
    HWND loose = AddStyled(kToolStaysDown, 0, 13);
    ASSERT_TRUE(first && second && loose);
    ToolButton* a = ToolButton::FromHandle(first);
    ToolButton* b = ToolButton::FromHandle(second);
    Click(first);
    Click(loose);
    EXPECT_EQ(kToolButtonDown, a->State());
    Click(second);
    EXPECT_EQ(kToolButtonDown, b->State());
    EXPECT_EQ(kToolButtonUp, a->State());
    EXPECT_EQ(kToolButtonDown, ToolButton::FromHandle(loose)->State());  // no group
    EXPECT_EQ(3, owner.Count("OnCommand"));
    Click(second);
    EXPECT_EQ(3, owner.Count("OnCommand"));  // already down
    PumpMessages();

    // A toggle goes down, then up.
    ToolButton* toggle = ToolButton::FromHandle(AddStyled(kToolToggles, 0, 14));
    Click(toggle->Handle());
    EXPECT_EQ(kToolButtonDown, toggle->State());
    Click(toggle->Handle());
    EXPECT_EQ(kToolButtonUp, toggle->State());
    EXPECT_EQ(5, owner.Count("OnCommand"));

    // Style 22 also asks its hook on the button-up, which declines.
    HWND on_release = AddStyled(kToolActsOnRelease, 0, 15);
    Click(on_release);
    EXPECT_EQ(6, owner.Count("OnCommand"));
    SendMessageA(on_release, WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(6, owner.Count("OnCommand"));
    EXPECT_EQ(kToolButtonUp, ToolButton::FromHandle(on_release)->State());
}

TEST_F(ToolWindowTest, TipsShowInTheCaptionUntilAButtonIsDrawn)
{
    ASSERT_EQ(1, tool.AddButton(kWide, "Previous Quote", 1));
    ASSERT_EQ(1, tool.AddButton(kWide, "Next Quote", 2));
    ASSERT_EQ(1, tool.AddButton(kWide, nullptr, 3));
    HWND first = ButtonAt(tool, 0);
    HWND second = ButtonAt(tool, 24);
    SendMessageA(first, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_EQ("Previous Quote", TextOf(tool.Handle()));
    SendMessageA(second, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_EQ("Next Quote", TextOf(tool.Handle()));
    SendMessageA(ButtonAt(tool, 48), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_EQ("Tools", TextOf(tool.Handle()));

    SendMessageA(second, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_EQ("Next Quote", TextOf(tool.Handle()));
    Click(second);
    EXPECT_EQ("Tools", TextOf(tool.Handle()));
}

TEST_F(ToolWindowTest, RaisedSunkenAndFlatButtonsDrawTheirFrames)
{
    HWND window = AddStyled(kToolPopsUp, 0, 1);
    HWND flat_window = AddStyled(kToolPopsUp | kToolFlat, 0, 2);
    ToolButton* button = ToolButton::FromHandle(window);
    ToolButton* flat = ToolButton::FromHandle(flat_window);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, 24, 20);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, canvas);
    const RECT client = {0, 0, 24, 20};
    auto draw = [&](ToolButton* which) {
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        which->Draw(dc, client);
    };

    draw(button);  // raised: light top and left, shadow right and bottom
    EXPECT_EQ(kWhite, GetPixel(dc, 0, 10));
    EXPECT_EQ(kWhite, GetPixel(dc, 10, 0));
    EXPECT_EQ(kGrey, GetPixel(dc, 23, 10));
    EXPECT_EQ(kGrey, GetPixel(dc, 10, 19));
    EXPECT_EQ(kBlue, GetPixel(dc, 22, 18));  // the bitmap one pixel up and left

    button->SetState(kToolButtonDown);
    draw(button);  // sunken: the other way round, the bitmap one down and right
    EXPECT_EQ(kGrey, GetPixel(dc, 0, 10));
    EXPECT_EQ(kGrey, GetPixel(dc, 10, 0));
    EXPECT_EQ(kWhite, GetPixel(dc, 23, 10));
    EXPECT_EQ(kWhite, GetPixel(dc, 10, 19));
    EXPECT_EQ(kBlue, GetPixel(dc, 1, 1));

    draw(flat);  // flat: the bitmap alone, where it lies
    EXPECT_EQ(kBlue, GetPixel(dc, 0, 0));
    EXPECT_EQ(kBlue, GetPixel(dc, 23, 19));

    SelectObject(dc, old);
    DeleteObject(canvas);
    DeleteDC(dc);
}

TEST_F(ToolWindowTest, WindowsAndBitmapsGoWithTheToolWindow)
{
    const int windows_before = ThreadWindowCount();
    for (int cycle = 0; cycle < 3; ++cycle) {
        HGDIOBJ bitmap = nullptr;
        HWND kept = nullptr;
        HWND dropped = nullptr;
        {
            ToolWindow other;
            EXPECT_EQ(0, other.AddButton(kWide, "Tip", 1));  // no window yet
            EXPECT_EQ(0, other.NextX());
            ASSERT_EQ(1, other.Create(owner.Handle()));
            ASSERT_EQ(1, other.AddButton(kWide, "Tip", 1));
            ASSERT_EQ(1, other.AddButton(kWide, "Tip", 2));
            bitmap = other.BitmapAt(2);
            EXPECT_EQ(static_cast<DWORD>(OBJ_BITMAP), GetObjectType(bitmap));
            kept = ButtonAt(other, 0);
            dropped = ButtonAt(other, 24);
            SendMessageA(kept, WM_MOUSEMOVE, 0, 0);
            // Deleting a button object takes its window along, once.
            delete ToolButton::FromHandle(dropped);
            EXPECT_FALSE(IsWindow(dropped));
            EXPECT_TRUE(IsWindow(kept));
            PumpMessages();
        }
        EXPECT_FALSE(IsWindow(kept));
        EXPECT_EQ(nullptr, ToolButton::Hovered());
        EXPECT_EQ(0u, GetObjectType(bitmap));
        EXPECT_EQ(windows_before, ThreadWindowCount());
    }
}
