#include "frame/base_window.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "frame/dialog_items.h"
#include "frame/main_window.h"
#include "frame/message_box.h"
#include "frame/window_thread.h"
#include "frame/window_timer.h"
#include "tests/frame/gui_test_support.h"
#include "tests/frame/recording_window.h"

namespace {

const char kLoopError[] = "ERROR: Do not run more than one message loop.";

bool QuitPending(int* code)
{
    MSG message;
    if (!PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        return false;
    *code = static_cast<int>(message.wParam);
    return true;
}

bool ThreadEnds(HANDLE thread, DWORD* exit_code)
{
    if (WaitForSingleObject(thread, 5000) != WAIT_OBJECT_0)
        return false;
    return GetExitCodeThread(thread, exit_code) != 0;
}

}  // namespace

TEST(RunModalTest, WindowDoneFromTheStartIsCreatedShownAndDestroyedAtOnce)
{
    const int windows = ThreadWindowCount();
    RecordingWindow window;
    window.on_created = [](RecordingWindow&) { ADD_FAILURE() << "no loop ran"; };
    EXPECT_EQ(1, window.RunModal());
    EXPECT_EQ(1, window.Count("IsDone"));
    EXPECT_EQ(1, window.Count("OnDestroyed"));
    EXPECT_EQ(nullptr, window.Handle());
    EXPECT_EQ(windows, ThreadWindowCount());
    EXPECT_EQ(0, window.IsMain());
    PumpMessages();  // the posted creation message finds no window
    EXPECT_EQ(0, window.Count("OnCreated"));
}

TEST(RunModalTest, ServesOnlyItsOwnWindowUntilDone)
{
    RecordingWindow other("FrameOtherWindow");
    ASSERT_EQ(1, other.Create(nullptr));
    PumpMessages();
    PostMessageA(other.Handle(), WM_USER + 50, 0, 0);

    RecordingWindow modal;
    modal.on_created = [](RecordingWindow& w) { w.StartTimer(7, 10); };
    modal.done = [](RecordingWindow& w) { return w.ticks.size() >= 3 ? 1 : 0; };
    EXPECT_EQ(1, modal.RunModal());
    EXPECT_EQ(1, modal.Count("OnCreated"));
    EXPECT_EQ(3u, modal.ticks.size());
    EXPECT_EQ(7u, modal.ticks[0]);
    EXPECT_EQ(nullptr, modal.Handle());
    EXPECT_EQ(1, modal.Count("OnDestroyed"));

    EXPECT_EQ(0, other.Count("OnUserMessage"));
    PumpMessages();
    EXPECT_EQ(1, other.Count("OnUserMessage"));
}

TEST(RunModalTest, QuitMessageEndsTheLoopAndIsPassedOn)
{
    RecordingWindow modal;
    modal.is_done = 0;
    modal.on_created = [](RecordingWindow&) { PostQuitMessage(3); };
    EXPECT_EQ(1, modal.RunModal());
    EXPECT_EQ(nullptr, modal.Handle());
    int code = -1;
    EXPECT_TRUE(QuitPending(&code));
    EXPECT_EQ(3, code);
}

TEST(RunModalTest, ClosedWindowEndsTheLoop)
{
    RecordingWindow modal;
    modal.is_done = 0;
    modal.on_created = [](RecordingWindow& w) { PostMessageA(w.Handle(), WM_CLOSE, 0, 0); };
    EXPECT_EQ(1, modal.RunModal());
    EXPECT_EQ(1, modal.Count("OnDestroyed"));
}

TEST(RunModalTest, FailedCreationGivesZeroAndFreesTheMenu)
{
    RecordingWindow broken("FrameTestWindow");
    broken.break_class = 1;
    EXPECT_EQ(0, broken.RunModal());
    EXPECT_EQ(nullptr, broken.Handle());
    EXPECT_NE(nullptr, broken.menu);
    EXPECT_FALSE(IsMenu(broken.menu));
    EXPECT_EQ(0u, GetObjectType(broken.class_brush));
}

TEST(TimerTest, StartingAgainRestartsThePeriodAndStopEndsTheTicks)
{
    RecordingWindow window;
    ASSERT_EQ(1, window.Create(nullptr));
    PumpMessages();
    EXPECT_EQ(100u, window.StartTimer(100, 60000));
    EXPECT_EQ(100u, window.StartTimer(100, 10));
    EXPECT_TRUE(PumpUntil([&] { return window.ticks.size() >= 2; }));
    EXPECT_EQ(100u, window.ticks[1]);
    EXPECT_EQ(1, window.StopTimer(100));
    const size_t ticks = window.ticks.size();
    PumpMessages(100);
    EXPECT_EQ(ticks, window.ticks.size());
    EXPECT_EQ(0, window.StopTimer(100));

    EXPECT_EQ(5u, StartTimer(window.Handle(), 5, 10));
    EXPECT_TRUE(PumpUntil([&] { return window.ticks.back() == 5; }));
    EXPECT_EQ(1, StopTimer(window.Handle(), 5));
}

TEST(WindowThreadTest, ServesItsWindowFromAnotherThreadWithoutClaimingTheLoop)
{
    RecordingWindow window("FrameWorkerWindow");
    window.user_result = 77;
    WindowThread thread;
    ASSERT_EQ(1, thread.Start(&window));
    EXPECT_EQ(WindowThread::kRunning, thread.GetState());
    ASSERT_EQ(1, thread.WaitForWindow(5000));
    EXPECT_EQ(thread.Id(), GetWindowThreadProcessId(window.Handle(), nullptr));
    EXPECT_NE(GetCurrentThreadId(), thread.Id());
    EXPECT_EQ(77, SendMessageA(window.Handle(), WM_USER + 50, 0, 0));
    EXPECT_EQ(0, thread.Start(&window));
    EXPECT_EQ(0, MainWindowClaimed());

    PostMessageA(window.Handle(), WM_CLOSE, 0, 0);
    DWORD exit_code = 99;
    ASSERT_TRUE(ThreadEnds(thread.Handle(), &exit_code));
    EXPECT_EQ(0u, exit_code);
    EXPECT_EQ(1, window.Count("OnCreated"));
    EXPECT_EQ(1, window.Count("OnDestroyed"));
    EXPECT_EQ(nullptr, window.Handle());
}

TEST(WindowThreadTest, SuspendedStartPriorityAndFailedCreation)
{
    RecordingWindow window("FrameWorkerWindow");
    WindowThread thread(0, THREAD_PRIORITY_LOWEST);
    ASSERT_EQ(1, thread.Start(&window));
    EXPECT_EQ(WindowThread::kSuspended, thread.GetState());
    EXPECT_EQ(THREAD_PRIORITY_LOWEST, GetThreadPriority(thread.Handle()));
    EXPECT_EQ(0, thread.WaitForWindow(100));
    thread.SetPriority(THREAD_PRIORITY_BELOW_NORMAL);
    EXPECT_EQ(THREAD_PRIORITY_BELOW_NORMAL, GetThreadPriority(thread.Handle()));
    EXPECT_EQ(1, thread.Resume());
    EXPECT_EQ(WindowThread::kRunning, thread.GetState());
    EXPECT_EQ(0, thread.Resume());
    ASSERT_EQ(1, thread.WaitForWindow(5000));
    PostMessageA(window.Handle(), WM_CLOSE, 0, 0);
    DWORD exit_code = 99;
    EXPECT_TRUE(ThreadEnds(thread.Handle(), &exit_code));

    RecordingWindow broken("FrameBrokenWorker");
    broken.break_class = 1;
    WindowThread failing;
    ASSERT_EQ(1, failing.Start(&broken));
    EXPECT_EQ(0, failing.WaitForWindow(5000));
    EXPECT_TRUE(ThreadEnds(failing.Handle(), &exit_code));
    EXPECT_EQ(0u, exit_code);
}

namespace {

// The checks of a window run in a thread of its own, in a fresh process
// where no window has claimed the loop yet. Prints what went wrong and
// exits with the number of failures.
void RunInThreadInAFreshProcess()
{
    int failures = 0;
    auto check = [&](bool ok, const char* what) {
        if (!ok) {
            std::fprintf(stderr, "failed: %s\n", what);
            ++failures;
        }
    };
    {
        RecordingWindow window("FrameThreadMain");
        window.Descriptor().show_command = SW_SHOWNORMAL;
        check(window.RunInThread(THREAD_PRIORITY_BELOW_NORMAL) == 1, "RunInThread starts");
        WindowThread* thread = window.Thread();
        check(thread && thread->GetState() == WindowThread::kRunning, "thread running");
        check(thread && thread->WaitForWindow(5000) == 1, "window made");
        check(window.IsMain() == 1 && MainWindow() == &window, "claimed the loop");
        check(MessageBoxOwner() == window.Handle(), "owns the message boxes");
        check(GetThreadPriority(thread->Handle()) == THREAD_PRIORITY_BELOW_NORMAL, "priority");
        check(GetWindowThreadProcessId(window.Handle(), nullptr) == thread->Id(), "its thread");
        check(window.RunInThread(0) == 0, "refused while the window exists");
        PostMessageA(window.Handle(), WM_CLOSE, 0, 0);
        DWORD exit_code = 99;
        check(ThreadEnds(thread->Handle(), &exit_code) && exit_code == 0, "quit ends the thread");
        check(window.Count("OnCreated") == 1, "created once");
    }
    check(MainWindow() == nullptr, "forgotten with its object");
    std::fflush(stderr);
    std::_Exit(failures);
}

}  // namespace

TEST(WindowThreadDeathTest, RunInThreadClaimsTheLoopAndEndsWithItsWindow)
{
    EXPECT_EXIT(RunInThreadInAFreshProcess(), testing::ExitedWithCode(0), "");
}

// The loop is claimed for the rest of the process here, so every test that
// needs an unclaimed loop runs before this one or in a child process.
TEST(RunTest, RunServesTheMainWindowAndRefusesASecondLoop)
{
    BoxAnswerer answers;
    {
        RecordingWindow main_window("FrameMainWindow");
        WindowSpec descriptor;
        descriptor.caption = "From the command line";
        descriptor.show_command = SW_SHOWNORMAL;
        int second_run = 0;
        int second_thread_run = 0;
        main_window.on_created = [&](RecordingWindow& w) {
            EXPECT_EQ(&w, MainWindow());
            EXPECT_EQ(w.Handle(), MessageBoxOwner());
            EXPECT_TRUE(IsWindowVisible(w.Handle()));
            // The caption comes from CaptionText, not from the descriptor.
            char caption[64] = "";
            GetWindowTextA(w.Handle(), caption, sizeof caption);
            EXPECT_STREQ("FrameMainWindow", caption);
            InformationBox("Running.", "Message");
            RecordingWindow second("FrameSecondWindow");
            second_run = second.Run(WindowSpec());
            EXPECT_EQ(nullptr, second.Handle());
            EXPECT_EQ(0, RecordingWindow::ClassFills()["FrameSecondWindow"]);
            second_thread_run = second.RunInThread(0);
            EXPECT_EQ(0, second.IsMain());
            PostMessageA(w.Handle(), WM_CLOSE, 0, 0);
        };
        EXPECT_EQ(0, main_window.Run(descriptor));
        EXPECT_EQ(-1, second_run);
        EXPECT_EQ(-1, second_thread_run);
        EXPECT_EQ(1, main_window.IsMain());
        EXPECT_EQ(1, main_window.Count("OnCreated"));
        EXPECT_EQ(1, main_window.Count("OnDestroyed"));
        EXPECT_EQ(nullptr, main_window.Handle());
        EXPECT_STREQ("From the command line", main_window.Descriptor().caption.c_str());
        EXPECT_EQ(SW_SHOWNORMAL, main_window.Descriptor().show_command);

        const std::vector<SeenBox>& boxes = answers.Boxes();
        ASSERT_EQ(3u, boxes.size());
        EXPECT_EQ("Running.", boxes[0].text);
        EXPECT_NE(nullptr, boxes[0].owner);
        for (size_t i = 1; i < boxes.size(); ++i) {
            EXPECT_EQ("Error!", boxes[i].caption);
            EXPECT_EQ(kLoopError, boxes[i].text);
            EXPECT_EQ(kIconHand, boxes[i].icon);
            EXPECT_EQ(boxes[0].owner, boxes[i].owner);
        }
    }
    // The claim outlives the loop and its window.
    EXPECT_EQ(nullptr, MainWindow());
    EXPECT_EQ(GetDesktopWindow(), MessageBoxOwner());
    EXPECT_EQ(1, MainWindowClaimed());
    RecordingWindow late("FrameLateWindow");
    WindowThread thread;
    EXPECT_EQ(-1, late.Run(WindowSpec()));
    EXPECT_EQ(-1, late.BecomeMain(&thread, WindowSpec()));
    EXPECT_EQ(WindowThread::kNotStarted, thread.GetState());
    EXPECT_EQ(5u, answers.Boxes().size());
}
