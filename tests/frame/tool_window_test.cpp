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

std::string TextOf(HWND window)
{
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

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

// A button's state when the press loop takes the button-up from the queue.
int g_state_at_release = 0;

LRESULT CALLBACK NoteRelease(int code, WPARAM wparam, LPARAM lparam)
{
    const MSG* message = reinterpret_cast<const MSG*>(lparam);
    if (message->message == WM_LBUTTONUP && ToolButton::FromHandle(message->hwnd))
        g_state_at_release = ToolButton::FromHandle(message->hwnd)->State();
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

// Presses button at down and lets go at up. The button-up is posted first, so that the press
// loop finds it and ends; moving out first posts a move to the release point before it.
void Click(HWND button, POINT down = {5, 5}, POINT up = {5, 5}, bool move_first = false)
{
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

    // A button of the wide bitmap with style and group.
    ToolButton* AddStyled(unsigned style, int group, unsigned command)
    {
        const unsigned bitmap = tool.AddBitmap(kWide);
        ToolButtonDescriptor descriptor{bitmap, bitmap, style, command, kToolButtonUp, group};
        return tool.CreateButton(descriptor) ? ToolButton::FromHandle(descriptor.window) : nullptr;
    }

    RecordingWindow owner{"ToolTestOwner"};
    ToolWindow tool;
};

}  // namespace

TEST_F(ToolWindowTest, ButtonsLineUpFitTheWindowAndShowTheirTips)
{
    HWND window = tool.Handle();
    RECT outer = {};
    GetWindowRect(window, &outer);
    // No main window: 20 pixels in from the desktop's corner.
    EXPECT_EQ(std::make_pair(20L, 20L), std::make_pair(outer.left, outer.top));

    ASSERT_EQ(1, tool.AddButton(kWide, "Previous Quote", 1));
    ASSERT_EQ(1, tool.AddButton(kWide, "Next Quote", 2));
    ASSERT_EQ(1, tool.AddButton(kWide, nullptr, 3));
    EXPECT_EQ(std::make_pair(72, 20), ClientSize(window));
    HWND last = ButtonAt(tool, 48);
    EXPECT_NE(last, ButtonAt(tool, 47));
    EXPECT_EQ(std::make_pair(24, 20), ClientSize(last));

    // The pointer over a button shows its tip until a button is drawn.
    const std::pair<int, const char*> hovers[] = {
        {0, "Previous Quote"}, {24, "Next Quote"}, {48, "Tools"}, {24, "Next Quote"}};
    for (const auto& hover : hovers) {
        SendMessageA(ButtonAt(tool, hover.first), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
        EXPECT_EQ(hover.second, TextOf(window));
    }
    Click(ButtonAt(tool, 24));
    EXPECT_EQ("Tools", TextOf(window));

    // Without a loadable bitmap a button is 13 x 13 and still works.
    ASSERT_EQ(1, tool.AddButton("NOSUCHBITMAP", nullptr, 40));
    EXPECT_EQ(std::make_pair(85, 20), ClientSize(window));
    EXPECT_EQ(std::make_pair(13, 13), ClientSize(ButtonAt(tool, 72)));
    Click(ButtonAt(tool, 72));
    EXPECT_EQ(2, owner.Count("OnCommand"));
    EXPECT_EQ(40u, owner.command.wparam);
}

TEST_F(ToolWindowTest, ClickSendsTheCommandToTheParentAndReleaseOutsideSendsNothing)
{
    ASSERT_EQ(1, tool.AddButton(kWide, "Next", 109));
    HWND button = ButtonAt(tool, 0);
    ToolButton* object = ToolButton::FromHandle(button);
    ASSERT_NE(nullptr, object);
    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, &NoteRelease, nullptr, GetCurrentThreadId());

    Click(button, {3, 4}, {6, 7});
    EXPECT_EQ(kToolButtonDown, g_state_at_release);  // sunken while held
    EXPECT_EQ(kToolButtonUp, object->State());
    ASSERT_EQ(1, owner.Count("OnCommand"));
    EXPECT_EQ(109u, owner.command.wparam);
    EXPECT_EQ(MAKELPARAM(3, 4), owner.command.lparam);  // the press's position

    // Moving out raises the button and letting go there sends nothing; letting
    // go outside without a move first counts as outside as well.
    Click(button, {3, 4}, {40, 4}, true);
    EXPECT_EQ(kToolButtonUp, g_state_at_release);
    Click(button, {3, 4}, {-2, 4});
    EXPECT_EQ(kToolButtonUp, object->State());
    EXPECT_EQ(1, owner.Count("OnCommand"));

    // Out and back in again before letting go is a click.
    PostMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(40, 4));
    Click(button, {3, 4}, {5, 5}, true);
    EXPECT_EQ(kToolButtonDown, g_state_at_release);
    EXPECT_EQ(2, owner.Count("OnCommand"));
    UnhookWindowsHookEx(hook);
}

TEST_F(ToolWindowTest, StylesDecideTheStatesAfterAClick)
{
    // Two stays-down buttons of one group, which work as radio buttons, one of no group, a
    // toggle, and one of style 22, which also asks its hook on the button-up (it declines).
    ToolButton* buttons[] = {AddStyled(kToolStaysDown, 5, 11), AddStyled(kToolStaysDown, 5, 12),
                             AddStyled(kToolStaysDown, 0, 13), AddStyled(kToolToggles, 0, 14),
                             AddStyled(kToolActsOnRelease, 0, 15)};
    // The button clicked, then each button down or up and the commands sent so far.
    const std::pair<int, const char*> clicks[] = {
        {0, "DUUUU1"}, {2, "DUDUU2"}, {1, "UDDUU3"}, {1, "UDDUU3"},  // already down: nothing
        {3, "UDDDU4"}, {3, "UDDUU5"}, {4, "UDDUU6"}};
    for (const auto& click : clicks) {
        Click(buttons[click.first]->Handle());
        PumpMessages();
        std::string states;
        for (ToolButton* button : buttons)
            states += button->State() == kToolButtonDown ? 'D' : 'U';
        EXPECT_EQ(click.second, states + std::to_string(owner.Count("OnCommand"))) << click.first;
    }
}

TEST_F(ToolWindowTest, RaisedSunkenAndFlatButtonsDrawTheirFramesAndBitmaps)
{
    ToolButton* raised = AddStyled(kToolPopsUp, 0, 1);
    ToolButton* sunken = AddStyled(kToolPopsUp, 0, 2);
    ToolButton* flat = AddStyled(kToolPopsUp | kToolFlat, 0, 3);
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
    for (int cycle = 0; cycle < 2; ++cycle) {
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
