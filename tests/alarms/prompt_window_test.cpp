#include "alarms/prompt_window.h"

#include <windows.h>

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "tests/alarms/window_watch.h"

namespace {

TextBlock Body(const std::string& text)
{
    TextBlock body(text.c_str());
    body.SetFlags(PromptWindow::kTextFlags);
    return body;
}

TEST(PromptWindowTest, ALongMessageIsWrappedInATopMostBoxCentredInTheWorkArea)
{
    std::string message;
    while (message.size() < 400)
        message += "Water the plants on the balcony ";
    RECT rect = {}, client = {}, area = {};
    LONG ex_style = 0;
    bool alive_after_release = false;
    HWND window = nullptr;
    Watcher watcher([&] {
        window = WaitForOwnWindow(kPromptClass, "05/09/2001 14:30");
        // The window is shown before its creation handler places it: read
        // its rectangle once it has stopped moving.
        RECT before = {-1};
        for (int i = 0; i < 20 && !EqualRect(&before, &rect); ++i) {
            before = rect;
            Sleep(100);
            GetWindowRect(window, &rect);
        }
        GetClientRect(window, &client);
        ex_style = GetWindowLongA(window, GWL_EXSTYLE);
        Click(window, WM_LBUTTONUP);  // a release does not end it
        Sleep(300);
        alive_after_release = IsWindow(window) != FALSE;
        Click(window);
    });
    PromptWindow prompt;
    EXPECT_EQ(1u, prompt.Show(Body(message), "05/09/2001 14:30", 32515, PromptWindow::kPlainPrompt));
    watcher.Join();
    ASSERT_TRUE(window);
    EXPECT_TRUE(alive_after_release);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(ex_style & WS_EX_TOPMOST);
    // Wrapped within three fifths of the screen plus the icon's room either side.
    const int room = 3 * (GetSystemMetrics(SM_CXSCREEN) / 5);
    EXPECT_LE(client.right, room + 2 * GetSystemMetrics(SM_CXICON));
    EXPECT_GT(client.right, room / 2);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_GE(rect.left, area.left);
    EXPECT_GE(rect.top, area.top);
    EXPECT_LE(rect.right, area.right);
    EXPECT_LE(rect.bottom, area.bottom);
    EXPECT_LE(std::abs((rect.left - area.left) - (area.right - rect.right)), 1);
    EXPECT_LE(std::abs((rect.top - area.top) - (area.bottom - rect.bottom)), 1);
}

TEST(PromptWindowTest, AnyOtherKindShowsTypeNotSupportedAndNoWindow)
{
    const int windows = ThreadWindowCount();
    BoxAnswerer answerer;
    PromptWindow prompt;
    EXPECT_EQ(0u, prompt.Show(Body("never shown"), "Notice", 32516, 1));
    ASSERT_EQ(1u, answerer.Boxes().size());
    EXPECT_EQ("Type not supported", answerer.Boxes()[0].text);
    EXPECT_EQ(windows, ThreadWindowCount());
}

}  // namespace
