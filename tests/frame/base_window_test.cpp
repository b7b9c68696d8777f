#include "frame/base_window.h"

#include <gtest/gtest.h>
#include <shlobj.h>  // DROPFILES

#include <cstring>
#include <memory>
#include <sstream>
#include <string>

#include "base/zstring.h"
#include "frame/notice_window.h"
#include "frame/program_instance.h"
#include "res/resource_ids.h"
#include "tests/frame/gui_test_support.h"
#include "tests/frame/recording_window.h"

namespace {

bool ClassRegistered(const char* name)
{
    WNDCLASSA found = {};
    return GetClassInfoA(GetModuleHandleA(nullptr), name, &found) != 0;
}

RECT WindowRectOf(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string RectText(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

// A created window whose start-up messages have been handled.
std::unique_ptr<RecordingWindow> MadeWindow(const char* name = "FrameTestWindow")
{
    auto window = std::make_unique<RecordingWindow>(name);
    window->Create(nullptr);
    PumpMessages();
    window->counts.clear();
    window->scrolls.clear();
    return window;
}

// A drop handle as the shell makes one.
HDROP MakeDrop(POINT at, bool on_frame, const char* names)
{
    size_t size = 0;
    while (names[size] || names[size + 1])
        ++size;
    size += 2;
    HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + size);
    auto* header = static_cast<DROPFILES*>(GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    header->pt = at;
    header->fNC = on_frame;
    std::memcpy(header + 1, names, size);
    GlobalUnlock(block);
    return static_cast<HDROP>(block);
}

LRESULT Send(const BaseWindow& window, UINT message, WPARAM wparam = 0, LPARAM lparam = 0)
{
    return SendMessageA(window.Handle(), message, wparam, lparam);
}

}  // namespace

TEST(BaseWindowTest, CreationBindsTheObjectAndOnCreatedFollowsFromTheLoop)
{
    RecordingWindow window;
    const unsigned serial = window.SerialNumber();
    EXPECT_EQ(serial + 1, RecordingWindow().SerialNumber());
    ASSERT_EQ(1, window.Create(nullptr));
    HWND handle = window.Handle();
    ASSERT_NE(nullptr, handle);
    EXPECT_EQ(&window, BaseWindow::FromHandle(handle));
    EXPECT_EQ(0, window.Count("OnCreated"));

    PumpMessages();
    EXPECT_EQ(1, window.Count("OnCreated"));
    ASSERT_EQ(1u, window.scrolls.size());
    const ScrollRecord& first = window.scrolls[0];
    EXPECT_EQ(kScrollInitial, first.orientation);
    EXPECT_EQ(kScrollLineUp, first.code);
    EXPECT_EQ(nullptr, first.window);
    EXPECT_EQ(0u, first.message);
    EXPECT_EQ(0, first.platform_code);
    EXPECT_EQ(kPlacementLength, window.Descriptor().placement.length);

    // The defaults: at 10, 10, 400 by 200, captioned with the class name,
    // a visible pop-up with a system menu that accepts files.
    const RECT expected = {10, 10, 410, 210};
    EXPECT_TRUE(SameRect(expected, WindowRectOf(handle))) << RectText(WindowRectOf(handle));
    char caption[64] = "";
    GetWindowTextA(handle, caption, sizeof caption);
    EXPECT_STREQ("FrameTestWindow", caption);
    EXPECT_EQ(0x90880000u, static_cast<DWORD>(GetWindowLongA(handle, GWL_STYLE)) & 0x90880000u);
    EXPECT_TRUE(GetWindowLongA(handle, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    EXPECT_EQ(GetDesktopWindow(), window.Descriptor().parent);
    EXPECT_NE(nullptr, window.menu);  // from the test resources
    EXPECT_EQ(window.menu, GetMenu(handle));

    EXPECT_EQ(1, window.Destroy());
    EXPECT_EQ(1, window.Count("OnDestroyed"));
    EXPECT_EQ(nullptr, window.Handle());
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_FALSE(IsMenu(window.menu));
    EXPECT_EQ(0u, GetObjectType(window.class_brush));  // released with the window
    EXPECT_EQ(0, window.Destroy());
}

TEST(BaseWindowTest, TheClassIsRegisteredOncePerNameAndGivenBackAtTheEnd)
{
    const char kName[] = "FrameTwinWindow";
    RecordingWindow::ClassFills()[kName] = 0;
    {
        RecordingWindow first(kName);
        RecordingWindow second(kName);
        ASSERT_EQ(1, first.Create(nullptr));
        ASSERT_EQ(1, second.Create(nullptr));
        EXPECT_EQ(1, RecordingWindow::ClassFills()[kName]);
        EXPECT_NE(0, first.ClassAtom());
        EXPECT_EQ(first.ClassAtom(), second.ClassAtom());
        EXPECT_STREQ(kName, second.ClassName().c_str());
        PumpMessages();
    }
    EXPECT_FALSE(ClassRegistered(kName));
    // The name may linger in an atom table; a new window must still work.
    RecordingWindow third(kName);
    EXPECT_EQ(1, third.Create(nullptr));
    EXPECT_EQ(2, RecordingWindow::ClassFills()[kName]);
}

TEST(BaseWindowTest, WindowWithoutAnObjectIsRefusedWithANotice)
{
    RecordingWindow window;
    ASSERT_EQ(1, window.RegisterWindowClass());
    HWND orphan = CreateWindowExA(0, "FrameTestWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    EXPECT_EQ(nullptr, orphan);
    ASSERT_NE(nullptr, NoticeWindow::Handle());
    EXPECT_STREQ("Cannot Create!  No `this`!", NoticeWindow::CurrentText());
    ModelessNotice(NoticeWindow::kDestroy, nullptr);
    PumpMessages();
}

TEST(BaseWindowTest, PaintIsValidatedAtOnceAndDrawnLaterOnTheWholeWindow)
{
    auto window = MadeWindow();
    HWND handle = window->Handle();
    RECT small = {0, 0, 5, 5};
    InvalidateRect(handle, &small, FALSE);
    UpdateWindow(handle);
    EXPECT_FALSE(GetUpdateRect(handle, nullptr, FALSE));
    EXPECT_EQ(0, window->Count("OnPaint"));

    PumpMessages();
    EXPECT_EQ(1, window->Count("OnPaint"));
    EXPECT_EQ(BaseWindow::kPaintMessage, window->paint.message);
    EXPECT_EQ(1, window->paint.has_dc);
    EXPECT_NE(nullptr, window->paint.dc);
    RECT client = {};
    GetClientRect(handle, &client);
    EXPECT_TRUE(SameRect(client, window->paint_clip)) << RectText(window->paint_clip);
    EXPECT_EQ(1, Send(*window, BaseWindow::kPaintMessage));
    EXPECT_EQ(2, window->Count("OnPaint"));

    // What the handler draws is what the window shows.
    const COLORREF green = RGB(0, 160, 0);
    window->paint_colour = green;
    InvalidateRect(handle, nullptr, TRUE);
    UpdateWindow(handle);
    PumpMessages();
    HDC dc = GetDC(handle);
    EXPECT_EQ(green, GetPixel(dc, 5, 5));
    EXPECT_EQ(green, GetPixel(dc, client.right - 1, client.bottom - 1));
    ReleaseDC(handle, dc);
}

TEST(BaseWindowTest, SizeMoveTimerPositionAndHitTestReachTheirHandlers)
{
    auto window = MadeWindow();
    Send(*window, WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(0, 0));
    EXPECT_EQ(kSizeMinimized, window->size.state);
    Send(*window, WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(640, 480));
    EXPECT_EQ(kSizeMaximized, window->size.state);
    EXPECT_EQ(MAKELPARAM(640, 480), window->size.lparam);
    Send(*window, WM_SIZE, SIZE_RESTORED, 0);
    EXPECT_EQ(kSizeRestored, window->size.state);
    Send(*window, WM_SIZE, SIZE_MAXSHOW, 0);
    EXPECT_EQ(kSizeOther, window->size.state);
    EXPECT_EQ(1, window->Count("OnMinimized"));
    EXPECT_EQ(1, window->Count("OnMaximized"));
    EXPECT_EQ(2, window->Count("OnSized"));

    Send(*window, WM_MOVE, 0, MAKELPARAM(-5, 20));
    EXPECT_EQ(-5, window->move.x);
    EXPECT_EQ(20, window->move.y);

    EXPECT_EQ(0, Send(*window, WM_TIMER, 77, 0));
    EXPECT_EQ(77u, window->timer.id);

    SetWindowPos(window->Handle(), nullptr, 30, 40, 300, 150, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(window->Handle(), window->position.position_window);
    EXPECT_EQ(30, window->position.x);
    EXPECT_EQ(40, window->position.y);
    EXPECT_EQ(300, window->position.width);
    EXPECT_EQ(150, window->position.height);

    // Inside the client area the handler is not asked.
    POINT inside = {5, 5};
    ClientToScreen(window->Handle(), &inside);
    EXPECT_EQ(HTCLIENT, Send(*window, WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y)));
    EXPECT_EQ(0, window->Count("OnHitTest"));
    EXPECT_EQ(HTNOWHERE, Send(*window, WM_NCHITTEST, 0, MAKELPARAM(-3000, -2000)));
    EXPECT_EQ(1, window->Count("OnHitTest"));
    EXPECT_EQ(HTNOWHERE, window->hit.result);
    EXPECT_EQ(-3000, window->hit.x);
    EXPECT_EQ(-2000, window->hit.y);
}

TEST(BaseWindowTest, KeysTrackModifiersAndNavigationKeysScroll)
{
    auto window = MadeWindow();
    EXPECT_EQ(kModifierNone, window->Key().modifiers);
    Send(*window, WM_KEYDOWN, VK_SHIFT);
    EXPECT_EQ(kModifierShift, window->Key().modifiers);
    EXPECT_EQ(0, window->Count("OnKeyDown"));

    // Page Up .. Down, in key order, and the scroll code each one sends.
    const int codes[] = {kScrollLineUp, kScrollLineDown, kScrollBottom,   kScrollTop,
                         kScrollLineUp, kScrollLineUp,   kScrollLineDown, kScrollLineDown};
    for (UINT key = VK_PRIOR; key <= VK_DOWN; ++key) {
        window->scrolls.clear();
        Send(*window, WM_KEYDOWN, key);
        EXPECT_EQ(key, window->key_down.key);
        EXPECT_EQ(kModifierShift, window->key_down.modifiers);
        ASSERT_EQ(1u, window->scrolls.size()) << key;
        EXPECT_EQ(codes[key - VK_PRIOR], window->scrolls[0].code) << key;
        EXPECT_EQ(kVertical, window->scrolls[0].orientation);
    }
    EXPECT_EQ(8, window->Count("OnKeyDown"));
    Send(*window, WM_KEYDOWN, VK_SPACE);
    Send(*window, WM_KEYDOWN, VK_SELECT);
    EXPECT_EQ(8, window->Count("OnKeyDown"));

    Send(*window, WM_KEYUP, VK_SHIFT);
    EXPECT_EQ(kModifierNone, window->Key().modifiers);
    Send(*window, WM_KEYDOWN, VK_CONTROL);
    EXPECT_EQ(kModifierControl, window->Key().modifiers);
    Send(*window, WM_KEYUP, 'A');
    EXPECT_EQ(kModifierControl, window->key_up.modifiers);
    EXPECT_EQ(static_cast<UINT>('A'), window->key_up.key);
    Send(*window, WM_KEYUP, VK_CONTROL);
    EXPECT_EQ(kModifierNone, window->Key().modifiers);
    EXPECT_EQ(3, window->Count("OnKeyUp"));
}

TEST(BaseWindowTest, ScrollCodesAreMappedAndTheWindowRedrawn)
{
    auto window = MadeWindow();
    // For SB_LINEUP (0) .. SB_ENDSCROLL (8).
    const int expected[] = {
        kScrollLineUp,     kScrollLineDown, kScrollPageUp, kScrollPageDown, kScrollThumbPosition,
        kScrollThumbTrack, kScrollTop,      kScrollBottom, kScrollEnd,
    };
    HWND bar = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
    for (WORD code = SB_LINEUP; code <= SB_ENDSCROLL; ++code) {
        window->scrolls.clear();
        const UINT message = code % 2 ? WM_HSCROLL : WM_VSCROLL;
        Send(*window, message, MAKEWPARAM(code, 321), reinterpret_cast<LPARAM>(bar));
        ASSERT_EQ(1u, window->scrolls.size()) << code;
        const ScrollRecord& record = window->scrolls[0];
        EXPECT_EQ(expected[code], record.code) << code;
        EXPECT_EQ(code, record.platform_code);
        EXPECT_EQ(321, record.thumb);
        EXPECT_EQ(bar, record.bar);
        EXPECT_EQ(message == WM_VSCROLL ? kVertical : kHorizontal, record.orientation);
    }
    window->scrolls.clear();
    Send(*window, WM_VSCROLL, MAKEWPARAM(9, 0));
    Send(*window, WM_VSCROLL, MAKEWPARAM(0x7777, 0));
    EXPECT_TRUE(window->scrolls.empty());

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

TEST(BaseWindowTest, MouseMessagesFillTheirRecords)
{
    auto window = MadeWindow();
    EXPECT_EQ(0, Send(*window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 7)));
    EXPECT_EQ(kLeftButton, window->button.button);
    EXPECT_EQ(kButtonPress, window->button.action);
    EXPECT_EQ(static_cast<UINT>(MK_LBUTTON), window->button.key_flags);
    EXPECT_EQ(5, window->button.x);
    EXPECT_EQ(7, window->button.y);
    Send(*window, WM_RBUTTONUP, 0, MAKELPARAM(-2, 300));
    EXPECT_EQ(kRightButton, window->button.button);
    EXPECT_EQ(kButtonRelease, window->button.action);
    EXPECT_EQ(-2, window->button.x);
    Send(*window, WM_LBUTTONDBLCLK, 0, 0);
    EXPECT_EQ(kLeftButton, window->button.button);
    EXPECT_EQ(kButtonDoubleClick, window->button.action);
    Send(*window, WM_RBUTTONDBLCLK, 0, 0);
    EXPECT_EQ(kRightButton, window->button.button);
    EXPECT_EQ(kButtonDoubleClick, window->button.action);
    Send(*window, WM_MBUTTONDOWN, 0, 0);
    EXPECT_EQ(4, window->Count("OnMouseButton"));

    EXPECT_EQ(0, Send(*window, WM_MOUSEMOVE, MK_SHIFT, MAKELPARAM(10, 11)));
    EXPECT_EQ(static_cast<UINT>(MK_SHIFT), window->mouse.key_flags);
    EXPECT_EQ(10, window->mouse.x);
    EXPECT_EQ(11, window->mouse.y);
}

TEST(BaseWindowTest, CommandsPrivateAndUserMessagesAndTheInstanceQuery)
{
    auto window = MadeWindow();
    Send(*window, WM_COMMAND, 109, 0);
    EXPECT_EQ(109u, window->command.wparam);
    Send(*window, BaseWindow::kPrivateMessage, 3, 4);
    EXPECT_EQ(1, window->Count("OnPrivateMessage"));
    EXPECT_EQ(4, window->private_message.lparam);
    window->user_result = 1234;
    EXPECT_EQ(1234, Send(*window, WM_USER + 50, 1, 2));
    EXPECT_EQ(static_cast<UINT>(WM_USER + 50), window->user_message.message);
    EXPECT_EQ(1234, Send(*window, WM_APP + 1));
    EXPECT_EQ(2, window->Count("OnUserMessage"));

    const UINT query = RegisterWindowMessageA("C:\\Orvalis\\frame_tests.exe");
    RecordInstanceQueryMessage(query);
    EXPECT_EQ(kInstanceTakesFocus, Send(*window, query));
    window->instance_reply = 1;
    EXPECT_EQ(kInstanceLetsStart, Send(*window, query));
    window->instance_reply = 2;
    EXPECT_EQ(kInstanceTakesFocus, Send(*window, query));
    EXPECT_EQ(3, window->Count("OnInstanceQuery"));
    EXPECT_EQ(2, window->Count("OnUserMessage"));
    RecordInstanceQueryMessage(0);
}

TEST(BaseWindowTest, SystemMenuCloseNeedsTheSystemMenu)
{
    RecordingWindow bare("FrameBareWindow");
    bare.style = WS_POPUP | WS_VISIBLE | WS_BORDER;
    ASSERT_EQ(1, bare.Create(nullptr));
    EXPECT_EQ(0, Send(bare, WM_SYSCOMMAND, SC_CLOSE | 2));
    EXPECT_TRUE(IsWindow(bare.Handle()));
    EXPECT_EQ(0, bare.Count("OnDestroyed"));

    auto window = MadeWindow();
    HWND handle = window->Handle();
    SendMessageA(handle, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(1, window->Count("OnDestroyed"));
}

TEST(BaseWindowTest, DroppedFilesReachTheHandlerOnlyInsideTheClientArea)
{
    auto window = MadeWindow();
    Send(*window, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({3, 4}, true, "C:\\a.STD\0")));
    EXPECT_EQ(0, window->Count("OnFilesDropped"));

    Send(*window, WM_DROPFILES,
         reinterpret_cast<WPARAM>(MakeDrop({3, 4}, false, "C:\\a.STD\0C:\\b.STD\0")));
    EXPECT_EQ(1, window->Count("OnFilesDropped"));
    EXPECT_EQ(2u, window->dropped_count);
    EXPECT_EQ(nullptr, window->kept_files);

    window->keep_files = 1;
    Send(*window, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({8, 9}, false, "C:\\c.STD\0")));
    ASSERT_NE(nullptr, window->kept_files);
    zstring name;
    EXPECT_EQ(1, window->kept_files->FileName(0, name));
    EXPECT_STREQ("C:\\c.STD", name.c_str());
    EXPECT_EQ(8, window->kept_files->X());
}

TEST(PlacementTest, TextRecordRoundTripsThroughAPendingPlacement)
{
    std::string record;
    {
        auto window = MadeWindow();
        SetWindowPos(window->Handle(), nullptr, 30, 40, 300, 150, SWP_NOZORDER | SWP_NOACTIVATE);
        std::ostringstream out;
        window->WritePlacement(out);
        record = out.str();
    }
    EXPECT_EQ("44 0 1 -1 -1 -1 -1 30 40 330 190 ", record);

    RecordingWindow restored;
    std::istringstream in(record);
    EXPECT_EQ(1, restored.ReadPlacement(in));
    EXPECT_EQ(1, restored.PlacementPending());
    EXPECT_EQ(nullptr, restored.Handle());
    ASSERT_EQ(1, restored.Create(nullptr));
    EXPECT_EQ(0, restored.PlacementPending());
    const RECT expected = {30, 40, 330, 190};
    EXPECT_TRUE(SameRect(expected, WindowRectOf(restored.Handle())))
        << RectText(WindowRectOf(restored.Handle()));

    // Read into a live window, a record applies at once.
    std::istringstream moved("44 0 1 -1 -1 -1 -1 50 60 250 160 ");
    EXPECT_EQ(1, restored.ReadPlacement(moved));
    EXPECT_EQ(0, restored.PlacementPending());
    const RECT moved_rect = {50, 60, 250, 160};
    EXPECT_TRUE(SameRect(moved_rect, WindowRectOf(restored.Handle())));
    // The record was read up to its last space; nothing more follows.
    EXPECT_EQ(0, restored.ReadPlacement(moved));
}

TEST(PlacementTest, MaximizedPlacementOpensMaximized)
{
    RecordingWindow window;
    std::istringstream in("44 0 3 -1 -1 -1 -1 30 40 330 190 ");
    ASSERT_EQ(1, window.ReadStateAndCreate(in, nullptr));
    EXPECT_TRUE(IsZoomed(window.Handle()));
    std::ostringstream out;
    window.WritePlacement(out);
    EXPECT_EQ(0u, out.str().find("44 0 3 ")) << out.str();
    EXPECT_NE(std::string::npos, out.str().find(" 30 40 330 190 "));
}

TEST(PlacementTest, DamagedRecordsChangeNothing)
{
    RecordingWindow window;
    const WINDOWPLACEMENT before = window.Descriptor().placement;
    const char* damaged[] = {"", "   ", "44 0 1 5 6", "44 0 1 -1 -1 x -1 30 40 330 190 ",
                             "garbage"};
    for (const char* text : damaged) {
        std::istringstream in(text);
        EXPECT_EQ(0, window.ReadPlacement(in)) << '"' << text << '"';
        EXPECT_EQ(0, window.PlacementPending());
        EXPECT_EQ(0, std::memcmp(&before, &window.Descriptor().placement, sizeof before));
    }
    std::istringstream bad("44 0 1 -1 -1 -1 -1 30 40 330 190 ");
    bad.setstate(std::ios::badbit);
    EXPECT_EQ(0, window.ReadPlacement(bad));

    // Created without a pending placement: the default rectangle.
    ASSERT_EQ(1, window.Create(nullptr));
    const RECT expected = {10, 10, 410, 210};
    EXPECT_TRUE(SameRect(expected, WindowRectOf(window.Handle())));

    std::ostringstream out;
    out.setstate(std::ios::badbit);
    window.WritePlacement(out);
    EXPECT_EQ("", out.str());
}

namespace {

void AddTwoButtons(RecordingWindow&, BuiltInToolBar& tool_bar)
{
    tool_bar.AddButton(0, 501, "Open", "Open a file");
    tool_bar.AddButton(1, 502, "Save", std::string(100, 't').c_str());
}

std::string TipFor(const BaseWindow& window, UINT_PTR command)
{
    NMTTDISPINFOA info = {};
    info.hdr.hwndFrom = window.Handle();
    info.hdr.idFrom = command;
    info.hdr.code = TTN_NEEDTEXTA;
    std::strcpy(info.szText, "untouched");
    SendMessageA(window.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    return info.szText;
}

}  // namespace

TEST(BuiltInToolBarTest, ButtonsMakeAToolBarWithLabelsAndTips)
{
    RecordingWindow window;
    window.before_tool_bar = &AddTwoButtons;
    ASSERT_EQ(1, window.Create(nullptr));
    HWND bar = window.ToolBar().Handle();
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(bar, GetDlgItem(window.Handle(), IDC_BUILTIN_TOOLBAR));
    EXPECT_TRUE(IsWindowVisible(bar));
    EXPECT_EQ(2, SendMessageA(bar, TB_BUTTONCOUNT, 0, 0));
    TBBUTTON second = {};
    SendMessageA(bar, TB_GETBUTTON, 1, reinterpret_cast<LPARAM>(&second));
    EXPECT_EQ(502, second.idCommand);
    EXPECT_EQ(1, second.iBitmap);
    EXPECT_EQ(TBSTATE_ENABLED, second.fsState & TBSTATE_ENABLED);
    char label[32] = "";
    SendMessageA(bar, TB_GETBUTTONTEXTA, 502, reinterpret_cast<LPARAM>(label));
    EXPECT_STREQ("Save", label);

    EXPECT_EQ("Open a file", TipFor(window, 501));
    EXPECT_EQ(std::string(79, 't'), TipFor(window, 502));
    EXPECT_EQ("untouched", TipFor(window, 999));
    window.ToolBar().EnableTips(0);
    EXPECT_EQ("untouched", TipFor(window, 501));
}

TEST(BuiltInToolBarTest, NoButtonsNoToolBarAndAMissingBitmapKeepsTheWindow)
{
    RecordingWindow plain;
    ASSERT_EQ(1, plain.Create(nullptr));
    EXPECT_EQ(nullptr, plain.ToolBar().Handle());
    EXPECT_EQ(nullptr, GetDlgItem(plain.Handle(), IDC_BUILTIN_TOOLBAR));
    EXPECT_EQ("untouched", TipFor(plain, 501));

    // The window's own bitmap, found under its class name.
    RecordingWindow own("FrameBitmapBar");
    own.before_tool_bar = [](RecordingWindow& w, BuiltInToolBar& tool_bar) {
        tool_bar.UseStandardBitmaps(0);
        AddTwoButtons(w, tool_bar);
    };
    ASSERT_EQ(1, own.Create(nullptr));
    EXPECT_NE(nullptr, own.ToolBar().Handle());

    RecordingWindow missing("FrameNoBitmapBar");
    missing.before_tool_bar = own.before_tool_bar;
    ASSERT_EQ(1, missing.Create(nullptr));
    EXPECT_NE(nullptr, missing.Handle());
    EXPECT_EQ(nullptr, missing.ToolBar().Handle());
}

TEST(BaseWindowTest, CreateAndDestroyCyclesLeaveNoObjectsBehind)
{
    auto cycle = [] {
        RecordingWindow window("FrameBitmapBar");
        window.before_tool_bar = [](RecordingWindow& w, BuiltInToolBar& tool_bar) {
            tool_bar.UseStandardBitmaps(0);
            AddTwoButtons(w, tool_bar);
        };
        window.Create(nullptr);
        PumpMessages();
        const HMENU menu = window.menu;
        const HBRUSH brush = window.class_brush;
        window.Close();
        EXPECT_FALSE(IsMenu(menu));
        EXPECT_EQ(0u, GetObjectType(brush));
    };
    cycle();  // the first round loads what stays loaded (common controls)
    const int windows = ThreadWindowCount();
    const GuiCounts before = CurrentGuiCounts();
    for (int i = 0; i < 20; ++i)
        cycle();
    PumpMessages();
    const GuiCounts after = CurrentGuiCounts();
    EXPECT_EQ(before.gdi, after.gdi);
    EXPECT_EQ(before.user, after.user);
    EXPECT_EQ(windows, ThreadWindowCount());
}
