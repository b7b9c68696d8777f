#include "frame/base_window.h"

#include <gtest/gtest.h>

#include <vector>

#include "frame/dialog_items.h"
#include "frame/main_window_claim.h"
#include "frame/message_box.h"
#include "frame/window_thread.h"
#include "tests/frame/gui_test_support.h"
#include "tests/frame/recording_window.h"

TEST(RunModalTest, EndsWhenNotMadeDoneClosedOrQuit)
{
    RecordingWindow broken;
    broken.break_class = 1;
    EXPECT_EQ(0, broken.RunModal());
    EXPECT_FALSE(IsMenu(broken.menu));

    const int windows = ThreadWindowCount();
    RecordingWindow done;
    EXPECT_EQ(1, done.RunModal());
    EXPECT_EQ(windows, ThreadWindowCount());
    PumpMessages();
    EXPECT_EQ(0, done.Count("OnCreated"));

    RecordingWindow quit;
    quit.is_done = 0;
    quit.on_created = [](RecordingWindow&) { PostQuitMessage(3); };
    EXPECT_EQ(1, quit.RunModal());
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(3u, message.wParam);
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

TEST(WindowThreadTest, ServesItsWindowFromAnotherThreadWithoutClaimingTheLoop)
{
    RecordingWindow window("FrameWorkerWindow");
    window.user_result = 77;
    WindowThread thread(0, THREAD_PRIORITY_LOWEST);
    ASSERT_EQ(1, thread.Start(&window));
    EXPECT_EQ(0, thread.Start(&window));
    EXPECT_EQ(0, thread.WaitForWindow(100));  // suspended until resumed
    EXPECT_EQ(1, thread.Resume());
    ASSERT_EQ(1, thread.WaitForWindow(5000));
    EXPECT_EQ(77, SendMessageA(window.Handle(), WM_USER + 50, 0, 0));
    EXPECT_EQ(0, MainWindowClaimed());
    PostMessageA(window.Handle(), WM_CLOSE, 0, 0);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread.Handle(), 5000));
    DWORD code = 1;
    EXPECT_TRUE(GetExitCodeThread(thread.Handle(), &code));
    EXPECT_EQ(0u, code);
    EXPECT_EQ(1, window.Count("OnDestroyed"));
}

namespace {

// The claim on the loop lasts for the rest of the process, so this runs in a child process.
void RunAndRefuseASecondLoop()
{
    BoxAnswerer answers;
    {
        RecordingWindow main_window("FrameMainWindow");
        int second_run = 0, second_thread_run = 0;
        main_window.on_created = [&](RecordingWindow& w) {
            EXPECT_EQ(w.Handle(), MessageBoxOwner());
            InformationBox("Running.", "Message");
            RecordingWindow second("FrameSecondWindow");
            second_run = second.Run(WindowSpec());
            second_thread_run = second.RunInThread(0);
            PostMessageA(w.Handle(), WM_CLOSE, 0, 0);
        };
        EXPECT_EQ(0, main_window.Run(WindowSpec()));
        EXPECT_EQ(-1, second_run);
        EXPECT_EQ(-1, second_thread_run);

        const std::vector<SeenBox>& boxes = answers.Boxes();
        ASSERT_EQ(3u, boxes.size());
        EXPECT_NE(nullptr, boxes[0].owner);
        EXPECT_EQ("ERROR: Do not run more than one message loop.", boxes[2].text);
        EXPECT_EQ(boxes[0].owner, boxes[2].owner);
    }
    // The claim outlives the loop and its window.
    EXPECT_EQ(GetDesktopWindow(), MessageBoxOwner());
    RecordingWindow late("FrameLateWindow");
    WindowThread thread;
    EXPECT_EQ(-1, late.BecomeMain(&thread, WindowSpec()));
    EXPECT_EQ(WindowThread::kNotStarted, thread.GetState());
    EXPECT_EQ(4u, answers.Boxes().size());
    ExitWithTestResult();
}

}  // namespace

TEST(RunDeathTest, RunServesTheMainWindowAndRefusesASecondLoop)
{
    EXPECT_EXIT(RunAndRefuseASecondLoop(), testing::ExitedWithCode(0), "");
}
