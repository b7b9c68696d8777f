#include "frame/base_window.h"

#include <gtest/gtest.h>
#include <shlobj.h>  // DROPFILES

#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>

#include "frame/notice_window.h"
#include "frame/program_instance.h"
#include "res/resource_ids.h"
#include "tests/frame/gui_test_support.h"
#include "tests/frame/recording_window.h"

namespace {

std::string RectOf(HWND window)
{
    RECT r = {};
    GetWindowRect(window, &r);
    std::ostringstream text;
    text << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom;
    return text.str();
}

// A created window whose start-up messages have been handled.
std::unique_ptr<RecordingWindow> MadeWindow()
{
    auto window = std::make_unique<RecordingWindow>();
    window->Create(nullptr);
    PumpMessages();
    window->counts.clear();
    window->scrolls.clear();
    return window;
}

// A drop of one file as the shell makes it: the name list ends with two zeros.
WPARAM MakeDrop(POINT at, BOOL on_frame, const char* name)
{
    HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + std::strlen(name) + 2);
    auto* header = static_cast<DROPFILES*>(GlobalLock(block));
    *header = {sizeof(DROPFILES), at, on_frame, FALSE};
    std::strcpy(reinterpret_cast<char*>(header + 1), name);
    GlobalUnlock(block);
    return reinterpret_cast<WPARAM>(block);
}

LRESULT Send(const BaseWindow& window, UINT message, WPARAM wparam = 0, LPARAM lparam = 0)
{
    return SendMessageA(window.Handle(), message, wparam, lparam);
}

}  // namespace

TEST(BaseWindowTest, LifeFromCreationThroughPaintToDestruction)
{
    RecordingWindow window;
    ASSERT_EQ(1, window.Create(nullptr));
    HWND handle = window.Handle();
    EXPECT_EQ(0, window.Count("OnCreated"));
    PumpMessages();
    EXPECT_EQ(1, window.Count("OnCreated"));
    EXPECT_EQ("10,10,410,210", RectOf(handle));
    ASSERT_NE(nullptr, window.menu);
    EXPECT_EQ(window.menu, GetMenu(handle));

    // Paint is validated at once and drawn later, on the whole window.
    window.counts.clear();
    window.paint_colour = RGB(0, 160, 0);
    RECT small = {0, 0, 5, 5};
    InvalidateRect(handle, &small, FALSE);
    UpdateWindow(handle);
    EXPECT_FALSE(GetUpdateRect(handle, nullptr, FALSE));
    EXPECT_EQ(0, window.Count("OnPaint"));
    PumpMessages();
    ASSERT_EQ(1, window.Count("OnPaint"));
    HDC dc = GetDC(handle);
    EXPECT_EQ(RGB(0, 160, 0), GetPixel(dc, 380, 150));  // far outside the invalid part
    ReleaseDC(handle, dc);

    EXPECT_EQ(1, window.Destroy());
    EXPECT_EQ(nullptr, window.Handle());
    EXPECT_FALSE(IsMenu(window.menu));
    EXPECT_EQ(0u, GetObjectType(window.class_brush));  // released with the window

    // A window made without its object is refused, with a notice.
    EXPECT_EQ(nullptr, CreateWindowExA(0, "FrameTestWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr,
                                       nullptr, GetModuleHandleA(nullptr), nullptr));
    EXPECT_STREQ("Cannot Create!  No `this`!", NoticeWindow::CurrentText());
    ModelessNotice(NoticeWindow::kDestroy, nullptr);
    PumpMessages();
}

TEST(BaseWindowTest, TheClassIsRegisteredOncePerNameAndGivenBackAtTheEnd)
{
    const char kName[] = "FrameTwinWindow";
    {
        RecordingWindow first(kName), second(kName);
        ASSERT_EQ(1, first.Create(nullptr));
        ASSERT_EQ(1, second.Create(nullptr));
        EXPECT_EQ(1, RecordingWindow::ClassFills()[kName]);
    }
    WNDCLASSA found = {};
    EXPECT_FALSE(GetClassInfoA(GetModuleHandleA(nullptr), kName, &found));
    RecordingWindow third(kName);
    EXPECT_EQ(1, third.Create(nullptr));
}

TEST(BaseWindowTest, PositionsAreSignedAndKeysMapToScrollCodes)
{
    auto window = MadeWindow();
    // Inside the client area the hit test handler is not asked.
    POINT inside = {5, 5};
    ClientToScreen(window->Handle(), &inside);
    EXPECT_EQ(HTCLIENT, Send(*window, WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y)));
    EXPECT_EQ(0, window->Count("OnHitTest"));
    EXPECT_EQ(HTNOWHERE, Send(*window, WM_NCHITTEST, 0, MAKELPARAM(-3000, -2000)));
    EXPECT_EQ(std::make_tuple(-3000, -2000), std::make_tuple(window->hit.x, window->hit.y));
    EXPECT_EQ(0, Send(*window, WM_RBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, -7)));
    EXPECT_EQ(std::make_tuple(kRightButton, kButtonDoubleClick, 5, -7),
              std::make_tuple(window->button.button, window->button.action, window->button.x,
                              window->button.y));

    Send(*window, WM_KEYDOWN, VK_SHIFT);
    // Page Up .. Down, in key order, and the scroll code each one sends.
    const int key_codes[] = {kScrollLineUp, kScrollLineDown, kScrollBottom,   kScrollTop,
                             kScrollLineUp, kScrollLineUp,   kScrollLineDown, kScrollLineDown};
    for (UINT key = VK_PRIOR; key <= VK_DOWN; ++key) {
        Send(*window, WM_KEYDOWN, key);
        ASSERT_EQ(key - VK_PRIOR + 1, window->scrolls.size()) << key;
        EXPECT_EQ(key_codes[key - VK_PRIOR], window->scrolls.back().code) << key;
    }
    // The keys either side of that range do not reach the handler, nor unknown scroll codes.
    Send(*window, WM_KEYDOWN, VK_SPACE);
    Send(*window, WM_KEYDOWN, VK_SELECT);
    Send(*window, WM_VSCROLL, MAKEWPARAM(9, 0));
    Send(*window, WM_VSCROLL, MAKEWPARAM(0x7777, 0));
    EXPECT_EQ(8u, window->scrolls.size());
    EXPECT_EQ(kModifierShift, window->key_down.modifiers);
    Send(*window, WM_KEYUP, VK_SHIFT);
    EXPECT_EQ(kModifierNone, window->Key().modifiers);

    // Codes 1 to 7 repaint the window; thumb tracking and the end do not.
    PumpMessages();
    window->counts.clear();
    Send(*window, WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0));
    Send(*window, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 0));
    PumpMessages();
    EXPECT_EQ(0, window->Count("OnPaint"));
    Send(*window, WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0));
    PumpMessages();
    EXPECT_EQ(1, window->Count("OnPaint"));
}

TEST(BaseWindowTest, UserMessagesDroppedFilesAndClose)
{
    auto window = MadeWindow();
    window->user_result = 1234;
    EXPECT_EQ(1234, Send(*window, WM_APP + 1));
    const UINT query = RegisterWindowMessageA("C:\\Orvalis\\frame_tests.exe");
    RecordInstanceQueryMessage(query);
    for (int reply : {0, 1, 2}) {
        window->instance_reply = reply;
        EXPECT_EQ(reply == 1 ? kInstanceLetsStart : kInstanceTakesFocus, Send(*window, query));
    }
    RecordInstanceQueryMessage(0);
    EXPECT_EQ(1, window->Count("OnUserMessage"));

    // Files dropped on the frame are refused.
    Send(*window, WM_DROPFILES, MakeDrop({3, 4}, TRUE, "C:\\a.STD"));
    EXPECT_EQ(0, window->Count("OnFilesDropped"));
    window->keep_files = 1;
    Send(*window, WM_DROPFILES, MakeDrop({8, 9}, FALSE, "C:\\b.STD"));
    ASSERT_NE(nullptr, window->kept_files);
    EXPECT_EQ(1u, window->kept_files->Count());
    EXPECT_EQ(8, window->kept_files->X());

    // The system menu's Close works only for a window that has that menu.
    RecordingWindow bare("FrameBareWindow");
    bare.style = WS_POPUP | WS_VISIBLE | WS_BORDER;
    ASSERT_EQ(1, bare.Create(nullptr));
    EXPECT_EQ(0, Send(bare, WM_SYSCOMMAND, SC_CLOSE | 2));
    EXPECT_TRUE(IsWindow(bare.Handle()));
    Send(*window, WM_SYSCOMMAND, SC_CLOSE);
    EXPECT_EQ(nullptr, window->Handle());
    EXPECT_EQ(1, window->Count("OnDestroyed"));
}

TEST(PlacementTest, TextRecordRoundTripsAndDamagedRecordsChangeNothing)
{
    auto window = MadeWindow();
    SetWindowPos(window->Handle(), nullptr, 30, 40, 300, 150, SWP_NOZORDER | SWP_NOACTIVATE);
    std::ostringstream record;
    window->WritePlacement(record);
    EXPECT_EQ("44 0 1 -1 -1 -1 -1 30 40 330 190 ", record.str());
    // Pending until the window exists, then applied: maximized over that rectangle.
    RecordingWindow restored;
    std::istringstream in("44 0 3 -1 -1 -1 -1 30 40 330 190 ");
    ASSERT_EQ(1, restored.ReadStateAndCreate(in, nullptr));
    EXPECT_TRUE(IsZoomed(restored.Handle()));
    std::ostringstream out;
    restored.WritePlacement(out);
    EXPECT_EQ(0u, out.str().find("44 0 3 ")) << out.str();
    EXPECT_NE(std::string::npos, out.str().find(" 30 40 330 190 ")) << out.str();

    // Read into a live window, a record applies at once and is read up to its last space.
    std::istringstream moved("44 0 1 -1 -1 -1 -1 50 60 250 160 ");
    EXPECT_EQ(1, restored.ReadPlacement(moved));
    EXPECT_EQ("50,60,250,160", RectOf(restored.Handle()));
    EXPECT_EQ(0, restored.ReadPlacement(moved));

    // Damaged records change nothing, and the next window opens where it would anyway.
    RecordingWindow fresh;
    const WINDOWPLACEMENT before = fresh.Descriptor().placement;
    for (const char* text :
         {"", "   ", "44 0 1 5 6", "44 0 1 -1 -1 x -1 30 40 330 190 ", "garbage"}) {
        std::istringstream damaged(text);
        EXPECT_EQ(0, fresh.ReadPlacement(damaged)) << '"' << text << '"';
        EXPECT_EQ(0, std::memcmp(&before, &fresh.Descriptor().placement, sizeof before));
    }
    ASSERT_EQ(1, fresh.Create(nullptr));
    EXPECT_EQ("10,10,410,210", RectOf(fresh.Handle()));
}

namespace {

// Two buttons, on the standard bitmaps unless own is set.
void AddButtons(BuiltInToolBar& tool_bar, bool own)
{
    tool_bar.UseStandardBitmaps(own ? 0 : 1);
    tool_bar.AddButton(0, 501, "Open", "Open a file");
    tool_bar.AddButton(1, 502, "Save", std::string(100, 't').c_str());
}

std::string TipFor(const BaseWindow& window, UINT_PTR command)
{
    NMTTDISPINFOA info = {};
    info.hdr.idFrom = command;
    info.hdr.code = TTN_NEEDTEXTA;
    std::strcpy(info.szText, "untouched");
    Send(window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    return info.szText;
}

}  // namespace

TEST(BuiltInToolBarTest, TipsAreCutToTheRecordAndAMissingBitmapLeavesTheWindow)
{
    RecordingWindow window;
    window.before_tool_bar = [](BuiltInToolBar& bar) { AddButtons(bar, false); };
    ASSERT_EQ(1, window.Create(nullptr));
    HWND bar = window.ToolBar().Handle();
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(bar, GetDlgItem(window.Handle(), IDC_BUILTIN_TOOLBAR));
    EXPECT_EQ(2, SendMessageA(bar, TB_BUTTONCOUNT, 0, 0));
    EXPECT_EQ("Open a file", TipFor(window, 501));
    EXPECT_EQ(std::string(79, 't'), TipFor(window, 502));
    EXPECT_EQ("untouched", TipFor(window, 999));
    window.ToolBar().EnableTips(0);
    EXPECT_EQ("untouched", TipFor(window, 501));

    RecordingWindow missing("FrameNoBitmapBar");
    missing.before_tool_bar = [](BuiltInToolBar& bar) { AddButtons(bar, true); };
    ASSERT_EQ(1, missing.Create(nullptr));
    EXPECT_EQ(nullptr, missing.ToolBar().Handle());
}

TEST(BaseWindowTest, CreateAndDestroyCyclesLeaveNoObjectsBehind)
{
    // With a tool bar on the window's own bitmap, found under its class name.
    auto cycle = [] {
        RecordingWindow window("FrameBitmapBar");
        window.before_tool_bar = [](BuiltInToolBar& bar) { AddButtons(bar, true); };
        window.Create(nullptr);
        EXPECT_NE(nullptr, window.ToolBar().Handle());
        PumpMessages();
        window.Close();
    };
    cycle();  // the first round loads what stays loaded (common controls)
    const int windows = ThreadWindowCount();
    for (int i = 0; i < 20; ++i)
        cycle();
    PumpMessages();
    EXPECT_EQ(windows, ThreadWindowCount());
}
