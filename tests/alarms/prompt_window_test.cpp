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

// What the screen shows of a painted prompt with a long message.
void CheckLongPrompt(HWND window)
{
    ASSERT_TRUE(window);
    // Top-most (0x1C), popup with a caption (0x90C80000); the system adds
    // the clipping of siblings.
    EXPECT_EQ(0x1Cu, GetWindowLongA(window, GWL_EXSTYLE) & 0xFFu);
    EXPECT_EQ(0x90C80000u, GetWindowLongA(window, GWL_STYLE) & 0xFFFF0000u & ~WS_CLIPSIBLINGS);
    // Wrapped within three fifths of the screen: the box is wide, but no
    // wider than that and the icon's room on either side.
    RECT rect = {}, client = {}, area = {};
    GetWindowRect(window, &rect);
    GetClientRect(window, &client);
    const int icon_width = GetSystemMetrics(SM_CXICON), icon_height = GetSystemMetrics(SM_CYICON);
    const int room = 3 * (GetSystemMetrics(SM_CXSCREEN) / 5);
    EXPECT_LE(client.right, room + 2 * icon_width);
    ASSERT_GT(client.right, room / 2);
    ASSERT_GT(client.bottom, 2 * icon_height);
    // Wholly inside the work area, and centred in it.
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_GE(rect.left, area.left);
    EXPECT_GE(rect.top, area.top);
    EXPECT_LE(rect.right, area.right);
    EXPECT_LE(rect.bottom, area.bottom);
    EXPECT_LE(std::abs((rect.left - area.left) - (area.right - rect.right)), 1);
    EXPECT_LE(std::abs((rect.top - area.top) - (area.bottom - rect.bottom)), 1);

    // The icon at the corner (pixels unlike the white box and the window's
    // background), the box's black frame, black text inside it.
    HDC dc = GetDC(window);
    auto at = [&](int x, int y) { return GetPixel(dc, x, y); };
    int icon_pixels = 0, text_pixels = 0;
    for (int y = 2; y < 2 + icon_height; ++y)
        for (int x = 2; x < icon_width; ++x)  // short of the frame line crossing it
            icon_pixels += at(x, y) != at(1, 1) && at(x, y) != 0xFFFFFF;
    for (int y = icon_height + 2; y < client.bottom - icon_height / 2 - 1; ++y)
        for (int x = icon_width + 2; x < client.right - icon_width / 2 - 1; ++x)
            text_pixels += at(x, y) == 0;
    const COLORREF frame = at(icon_width, client.bottom / 2);
    ReleaseDC(window, dc);
    EXPECT_GT(icon_pixels, 100);
    EXPECT_EQ(0u, frame);
    EXPECT_GT(text_pixels, 100);
}

TEST(PromptWindowTest, ALongMessageIsWrappedInACentredTopMostBoxAndAClickEndsIt)
{
    std::string message;
    while (message.size() < 400)
        message += "Water the plants on the balcony ";
    HWND window = nullptr;
    Watcher watcher([&] {
        window = WaitForOwnWindow(kPromptClass, "05/09/2001 14:30");
        Sleep(300);  // painted
        CheckLongPrompt(window);
        Click(window);
    });
    PromptWindow prompt;
    EXPECT_EQ(1u, prompt.Show(Body(message), "05/09/2001 14:30", 32515, PromptWindow::kPlainPrompt));
    watcher.Join();
    ASSERT_TRUE(window);
    EXPECT_FALSE(IsWindow(window));
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
            Click(window, ending);
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
}

}  // namespace
