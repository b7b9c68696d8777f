#include "frame/base_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <sstream>

#include "frame/notice_window.h"
#include "frame/window_thread.h"
#include "tests/frame/gui_test_support.h"
#include "tests/frame/recording_window.h"

TEST(BaseWindowTest, LifeFromCreationThroughMessagesToDestruction)
{
    RecordingWindow window;
    ASSERT_EQ(1, window.Create(nullptr));
    HWND handle = window.Handle();
    EXPECT_EQ(0, window.Count("OnCreated"));
    PumpMessages();
    EXPECT_EQ(1, window.Count("OnCreated"));
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

    SendMessageA(handle, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(nullptr, window.Handle());
    EXPECT_FALSE(IsMenu(window.menu));

    // A window made without its object is refused, with a notice.
    EXPECT_EQ(nullptr, CreateWindowExA(0, "FrameTestWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr,
                                       nullptr, GetModuleHandleA(nullptr), nullptr));
    EXPECT_STREQ("Cannot Create!  No `this`!", NoticeWindow::CurrentText());
    ModelessNotice(NoticeWindow::kDestroy, nullptr);
    PumpMessages();
}

TEST(PlacementTest, TextRecordRoundTripsAndDamagedRecordsChangeNothing)
{
    RecordingWindow window;
    ASSERT_EQ(1, window.Create(nullptr));
    SetWindowPos(window.Handle(), nullptr, 30, 40, 300, 150, SWP_NOZORDER | SWP_NOACTIVATE);
    std::ostringstream record;
    window.WritePlacement(record);
    EXPECT_EQ("44 0 1 -1 -1 -1 -1 30 40 330 190 ", record.str());
    // Pending until the window exists, then applied: maximized over that rectangle.
    RecordingWindow restored;
    std::istringstream in("44 0 3 -1 -1 -1 -1 30 40 330 190 ");
    ASSERT_EQ(1, restored.ReadStateAndCreate(in, nullptr));
    EXPECT_TRUE(IsZoomed(restored.Handle()));
    std::ostringstream out;
    restored.WritePlacement(out);
    EXPECT_EQ(0u, out.str().find("44 0 3 ")) << out.str();
    EXPECT_EQ(out.str().size() - 15, out.str().find(" 30 40 330 190 ")) << out.str();

    RecordingWindow fresh;
    const WINDOWPLACEMENT before = fresh.Descriptor().placement;
    for (const char* text : {"", "44 0 1 5 6", "44 0 1 -1 -1 x -1 30 40 330 190 "}) {
        std::istringstream damaged(text);
        EXPECT_EQ(0, fresh.ReadPlacement(damaged)) << '"' << text << '"';
        EXPECT_EQ(0, std::memcmp(&before, &fresh.Descriptor().placement, sizeof before));
    }
    ASSERT_EQ(1, fresh.Create(nullptr));
    RECT opened = {};
    GetWindowRect(fresh.Handle(), &opened);
    EXPECT_EQ(std::make_pair(10L, 410L), std::make_pair(opened.left, opened.right));
}

TEST(BaseWindowTest, OneClassPerNameOneWindowPerObjectWhichMayEndItselfInItsHandlers)
{
    const char kName[] = "FrameTwinWindow";
    HBRUSH brush = nullptr;
    {
        RecordingWindow first(kName), second(kName);
        ASSERT_EQ(1, first.Create(nullptr));
        ASSERT_EQ(1, second.Create(nullptr));
        EXPECT_EQ(1, first.Count("FillClass") + second.Count("FillClass"));
        // The class's brush stays while the class does: the second window paints with it.
        brush = first.class_brush;
        first.Destroy();
        EXPECT_EQ(static_cast<DWORD>(OBJ_BRUSH), GetObjectType(brush));
    }
    EXPECT_EQ(0u, GetObjectType(brush));
    WNDCLASSA found = {};
    EXPECT_FALSE(GetClassInfoA(GetModuleHandleA(nullptr), kName, &found));
    // Registered again for a new window; a second Create of the same object is refused.
    RecordingWindow third(kName);
    ASSERT_EQ(1, third.Create(nullptr));
    HWND made = third.Handle();
    const int windows = ThreadWindowCount();
    EXPECT_EQ(0, third.Create(nullptr));
    EXPECT_EQ(made, third.Handle());
    EXPECT_EQ(windows, ThreadWindowCount());

    // Ending its own life in OnCreated or OnDestroyed: its storage is overwritten to show reuse.
    const RecordingWindow::Hook erase = [](RecordingWindow& w) {
        w.~RecordingWindow();
        std::memset(static_cast<void*>(&w), 0xDD, sizeof w);
    };
    for (int in_created : {1, 0}) {
        alignas(RecordingWindow) unsigned char storage[sizeof(RecordingWindow)];
        auto* erasing = new (storage) RecordingWindow("FrameErasingWindow");
        (in_created ? erasing->on_created : erasing->on_destroyed) = erase;
        ASSERT_EQ(1, erasing->Create(nullptr));
        HWND handle = erasing->Handle();
        PumpMessages();
        if (!in_created)
            DestroyWindow(handle);
        EXPECT_FALSE(IsWindow(handle)) << in_created;
        EXPECT_EQ(sizeof storage, size_t(std::count(storage, storage + sizeof storage, 0xDD)))
            << "in_created " << in_created;
        MSG quit;
        EXPECT_FALSE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << in_created;
    }
    EXPECT_EQ(windows, ThreadWindowCount());
}

TEST(BaseWindowTest, CreateAndDestroyCyclesLeaveNoObjectsBehind)
{
    // A window with a tool bar on its class's own bitmap, and one in a thread of its own.
    auto cycle = [] {
        RecordingWindow window("FrameBitmapBar");
        window.before_tool_bar = [](BuiltInToolBar& bar) {
            bar.UseStandardBitmaps(0);
            bar.AddButton(0, 501, "Open", "Open a file");
            bar.AddButton(1, 502, "Save", std::string(100, 't').c_str());
        };
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
    const auto before = CountHeldObjects();
    for (int i = 0; i < 20; ++i)
        cycle();
    PumpMessages();
    EXPECT_EQ(before, CountHeldObjects());
}

TEST(RunModalTest, ServesOnlyItsOwnWindowAndEndsWhenNotMadeDoneOrQuit)
{
    // A quit ends the loop and is posted again for the loop outside.
    RecordingWindow quit;
    quit.done = [](RecordingWindow&) { return 0; };
    quit.on_created = [](RecordingWindow&) { PostQuitMessage(3); };
    EXPECT_EQ(1, quit.RunModal());
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(3u, message.wParam);

    RecordingWindow other("FrameOtherWindow");
    ASSERT_EQ(1, other.Create(nullptr));
    PumpMessages();
    PostMessageA(other.Handle(), WM_USER + 50, 0, 0);
    RecordingWindow modal;
    modal.on_created = [](RecordingWindow& w) { w.StartTimer(7, 10); };
    modal.done = [](RecordingWindow& w) { return w.ticks.size() >= 3 ? 1 : 0; };
    EXPECT_EQ(1, modal.RunModal());
    EXPECT_EQ(std::vector<UINT_PTR>(3, 7), modal.ticks);
    EXPECT_EQ(0, other.Count("OnUserMessage"));
    PumpMessages();
    EXPECT_EQ(1, other.Count("OnUserMessage"));
}

TEST(WindowTimerTest, RunsOnlyOnAWindow)
{
    RecordingWindow window;
    EXPECT_EQ(0u, window.StartTimer(7, 10));
    ASSERT_EQ(1, window.Create(nullptr));
    EXPECT_EQ(7u, window.StartTimer(7, 10));
    EXPECT_TRUE(PumpUntil([&] { return !window.ticks.empty(); }));
    EXPECT_EQ(1, window.StopTimer(7));
    EXPECT_EQ(0, window.StopTimer(7));
    window.Destroy();
    EXPECT_EQ(0u, window.StartTimer(8, 10));
    EXPECT_EQ(0, window.StopTimer(8));
}
