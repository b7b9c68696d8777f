#include "frame/base_window.h"

#include <gtest/gtest.h>
#include <shlobj.h>  // DROPFILES

#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>
#include <new>
#include <sstream>
#include <string>
#include <vector>

#include "frame/notice_window.h"
#include "frame/program_instance.h"
#include "frame/window_thread.h"
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
WPARAM MakeDrop(BOOL on_frame)
{
    HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + 16);
    auto* header = static_cast<DROPFILES*>(GlobalLock(block));
    *header = {sizeof(DROPFILES), {8, 9}, on_frame, FALSE};
    const char name[] = "C:\\a.STD";
    std::memcpy(header + 1, name, sizeof name);
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
    EXPECT_EQ(RGB(0, 160, 0), GetPixel(dc, 380, 150));
    ReleaseDC(handle, dc);

    EXPECT_EQ(1, window.Destroy());
    EXPECT_EQ(nullptr, window.Handle());
    EXPECT_FALSE(IsMenu(window.menu));

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
    HBRUSH brush = nullptr;
    {
        RecordingWindow first(kName), second(kName);
        ASSERT_EQ(1, first.Create(nullptr));
        ASSERT_EQ(1, second.Create(nullptr));
        EXPECT_EQ(1, RecordingWindow::ClassFills()[kName]);
        // The class's brush stays while the class does: the second window paints with it.
        brush = first.class_brush;
        first.Destroy();
        EXPECT_EQ(static_cast<DWORD>(OBJ_BRUSH), GetObjectType(brush));
    }
    EXPECT_EQ(0u, GetObjectType(brush));
    WNDCLASSA found = {};
    EXPECT_FALSE(GetClassInfoA(GetModuleHandleA(nullptr), kName, &found));
    RecordingWindow third(kName);
    EXPECT_EQ(1, third.Create(nullptr));
}

TEST(BaseWindowTest, MessagesReachTheirHandlers)
{
    auto window = MadeWindow();
    EXPECT_EQ(HTNOWHERE, Send(*window, WM_NCHITTEST, 0, MAKELPARAM(-3000, -2000)));
    EXPECT_EQ(-3000, window->hit.x);
    EXPECT_EQ(-2000, window->hit.y);

    // Space .. Select: only Page Up .. Down scroll, each with its code.
    for (UINT key = VK_SPACE; key <= VK_SELECT; ++key)
        Send(*window, WM_KEYDOWN, key);
    std::vector<int> codes;
    for (const ScrollRecord& scroll : window->scrolls)
        codes.push_back(scroll.code);
    EXPECT_EQ((std::vector<int>{kScrollLineUp, kScrollLineDown, kScrollBottom, kScrollTop,
                                kScrollLineUp, kScrollLineUp, kScrollLineDown, kScrollLineDown}),
              codes);

    window->user_result = 1234;
    EXPECT_EQ(1234, Send(*window, WM_APP + 1));
    const UINT query = RegisterWindowMessageA("C:\\Orvalis\\frame_tests.exe");
    RecordInstanceQueryMessage(query);
    window->instance_reply = 2;
    EXPECT_EQ(kInstanceTakesFocus, Send(*window, query));
    RecordInstanceQueryMessage(0);

    Send(*window, WM_DROPFILES, MakeDrop(TRUE));  // on the frame: refused
    EXPECT_EQ(0, window->Count("OnFilesDropped"));
    window->keep_files = 1;
    Send(*window, WM_DROPFILES, MakeDrop(FALSE));
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

    RecordingWindow fresh;
    const WINDOWPLACEMENT before = fresh.Descriptor().placement;
    for (const char* text : {"", "44 0 1 5 6", "44 0 1 -1 -1 x -1 30 40 330 190 "}) {
        std::istringstream damaged(text);
        EXPECT_EQ(0, fresh.ReadPlacement(damaged)) << '"' << text << '"';
        EXPECT_EQ(0, std::memcmp(&before, &fresh.Descriptor().placement, sizeof before));
    }
    ASSERT_EQ(1, fresh.Create(nullptr));
    EXPECT_EQ("10,10,410,210", RectOf(fresh.Handle()));
}

namespace {

// Ends its own life inside OnCreated or OnDestroyed: the destructor runs and the storage is
// then overwritten, so that any later use of the object shows or crashes.
class SelfErasingWindow : public BaseWindow {
public:
    explicit SelfErasingWindow(int in_created) : m_in_created(in_created) {}

protected:
    const char* ResourceName() override { return "FrameErasingWindow"; }
    void OnCreated(WindowEvent&) override { EraseIf(m_in_created); }
    void OnDestroyed(WindowEvent&) override { EraseIf(!m_in_created); }

private:
    void EraseIf(int now)
    {
        if (!now)
            return;
        void* storage = this;
        this->~SelfErasingWindow();
        std::memset(storage, 0xDD, sizeof(SelfErasingWindow));
    }

    int m_in_created;
};

}  // namespace

TEST(BaseWindowTest, AnObjectHoldsOneWindowAndMayEndItselfInItsHandlers)
{
    auto window = MadeWindow();
    HWND first = window->Handle();
    const int windows = ThreadWindowCount();
    EXPECT_EQ(0, window->Create(nullptr));
    EXPECT_EQ(first, window->Handle());
    EXPECT_EQ(windows, ThreadWindowCount());

    for (int in_created : {1, 0}) {
        alignas(SelfErasingWindow) unsigned char storage[sizeof(SelfErasingWindow)];
        SelfErasingWindow* erasing = new (storage) SelfErasingWindow(in_created);
        ASSERT_EQ(1, erasing->Create(nullptr));
        HWND handle = erasing->Handle();
        PumpMessages();
        if (!in_created)
            DestroyWindow(handle);
        EXPECT_FALSE(IsWindow(handle)) << in_created;
        const auto untouched = std::count(std::begin(storage), std::end(storage), 0xDD);
        EXPECT_EQ(std::ptrdiff_t{sizeof storage}, untouched) << "in_created " << in_created;
        MSG quit;
        EXPECT_FALSE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << in_created;
    }
    EXPECT_EQ(windows, ThreadWindowCount());
}

namespace {

void AddButtons(BuiltInToolBar& tool_bar)
{
    tool_bar.UseStandardBitmaps(0);
    tool_bar.AddButton(0, 501, "Open", "Open a file");
    tool_bar.AddButton(1, 502, "Save", std::string(100, 't').c_str());
}

}  // namespace

TEST(BaseWindowTest, CreateAndDestroyCyclesLeaveNoObjectsBehind)
{
    // A window with a tool bar on its own bitmap (found under its class name), and one in
    // a thread of its own.
    auto cycle = [] {
        RecordingWindow window("FrameBitmapBar");
        window.before_tool_bar = [](BuiltInToolBar& bar) { AddButtons(bar); };
        window.Create(nullptr);
        EXPECT_NE(nullptr, window.ToolBar().Handle());
        RecordingWindow worker("FrameCycleWorker");
        WindowThread thread;
        ASSERT_EQ(1, thread.Start(&worker));
        ASSERT_EQ(1, thread.WaitForWindow(5000));
        PumpMessages();
        window.Close();
        PostMessageA(worker.Handle(), WM_CLOSE, 0, 0);
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread.Handle(), 5000));
    };
    cycle();  // the first round loads what stays loaded (common controls)
    const HeldObjects before = CountHeldObjects();
    for (int i = 0; i < 20; ++i)
        cycle();
    PumpMessages();
    EXPECT_EQ(before, CountHeldObjects());
}
