#include "alarms/prompt_window.h"

#include <windows.h>

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "tests/alarms/window_watch.h"
#include "tests/frame/gui_test_support.h"

namespace {

TextBlock Body(const std::string& text)
{
    TextBlock body(text.c_str());
    body.SetFlags(PromptWindow::kTextFlags);
    return body;
}

RECT WorkArea()
{
    RECT area = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

TEST(PromptWindowTest, ALongMessageIsWrappedInACentredTopMostBoxAndAClickEndsIt)
{
    EXPECT_EQ(106576u, PromptWindow::kTextFlags);
    std::string message;
    while (message.size() < 400)
        message += "Water the plants on the balcony ";
    SeenPrompt seen;
    Watcher watcher([&] {
        seen = SeePrompt("05/09/2001 14:30");
        Click(seen.window);
    });
    PromptWindow prompt;
    EXPECT_EQ(1u, prompt.Show(Body(message), "05/09/2001 14:30", 32515, PromptWindow::kPlainPrompt));
    watcher.Join();
    ASSERT_TRUE(seen.window);
    EXPECT_FALSE(IsWindow(seen.window));
    EXPECT_EQ(1, prompt.IsDone());

    // Top-most (0x1C), popup with a caption (0x90C80000); the system adds
    // the clipping of siblings.
    EXPECT_EQ(0x1Cu, seen.ex_style & 0xFFu);
    EXPECT_EQ(0x90C80000u, seen.style & 0xFFFF0000u & ~WS_CLIPSIBLINGS);
    // Wrapped within three fifths of the screen: the box is wide, but no
    // wider than that and the icon's room on either side.
    const int room = 3 * (GetSystemMetrics(SM_CXSCREEN) / 5);
    EXPECT_LE(seen.client.right, room + 2 * GetSystemMetrics(SM_CXICON));
    EXPECT_GT(seen.client.right, room / 2);
    // Wholly inside the work area, and centred in it.
    const RECT area = WorkArea();
    EXPECT_GE(seen.rect.left, area.left);
    EXPECT_GE(seen.rect.top, area.top);
    EXPECT_LE(seen.rect.right, area.right);
    EXPECT_LE(seen.rect.bottom, area.bottom);
    EXPECT_LE(std::abs((seen.rect.left - area.left) - (area.right - seen.rect.right)), 1);
    EXPECT_LE(std::abs((seen.rect.top - area.top) - (area.bottom - seen.rect.bottom)), 1);
    // The icon at the corner, the box's black frame, black text inside.
    EXPECT_GT(seen.icon_pixels, 100);
    EXPECT_EQ(0u, seen.frame);
    EXPECT_GT(seen.text_pixels, 100);
}

TEST(PromptWindowTest, APressOfEitherButtonOrClosingEndsItAndAReleaseDoesNot)
{
    for (UINT ending : {WM_RBUTTONDOWN, WM_CLOSE}) {
        bool alive_after_release = false;
        HWND window = nullptr;
        Watcher watcher([&] {
            window = WaitForOwnWindow(kPromptClass, "Notice");
            Click(window, WM_LBUTTONUP);
            Click(window, WM_LBUTTONDBLCLK);
            Sleep(300);
            alive_after_release = IsWindow(window) != FALSE;
            PostMessageA(window, ending, ending == WM_RBUTTONDOWN ? MK_RBUTTON : 0, 0);
        });
        PromptWindow prompt;
        EXPECT_EQ(1u, prompt.Show(Body("short"), "Notice", 32516, PromptWindow::kPlainPrompt));
        watcher.Join();
        ASSERT_TRUE(window) << ending;
        EXPECT_TRUE(alive_after_release) << ending;
        EXPECT_FALSE(IsWindow(window)) << ending;
    }
}

TEST(PromptWindowTest, AnyOtherKindShowsTypeNotSupportedAndNoWindow)
{
    const int windows = ThreadWindowCount();
    BoxAnswerer answerer;
    PromptWindow prompt;
    EXPECT_EQ(0u, prompt.Show(Body("never shown"), "Notice", 32516, 1));
    ASSERT_EQ(1u, answerer.Boxes().size());
    EXPECT_EQ("Prompt", answerer.Boxes()[0].caption);
    EXPECT_EQ("Type not supported", answerer.Boxes()[0].text);
    EXPECT_EQ(LoadIconA(nullptr, IDI_HAND), answerer.Boxes()[0].icon);
    EXPECT_EQ(windows, ThreadWindowCount());
    EXPECT_FALSE(prompt.Handle());
}

}  // namespace
