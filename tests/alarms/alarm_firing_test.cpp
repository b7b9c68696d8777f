#include "alarms/alarm_firing.h"

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "alarms/alarm_event.h"
#include "alarms/alarm_host.h"
#include "alarms/run_command.h"
#include "base/zstring.h"
#include "frame/message_box.h"
#include "tests/base/temp_folder_test.h"
#include "tests/alarms/window_watch.h"

namespace {

using Calls = std::vector<std::string>;
const char kLog[] = "ORVLS.TXT";
const char kArmed[] = "ORVLS3.ALM";

// Records what the firing asks of the application.
class FakeHost : public AlarmHost {
public:
    int MainMinimised() override { return 0; }
    void HideMainWindow() override { calls.push_back("hide main"); }
    void ShowMainWindow() override { calls.push_back("show main"); }
    void HideToolWindow() override { calls.push_back("hide tools"); }
    void ShowToolWindow() override { calls.push_back("show tools"); }
    void SetMainCaption(const char* text) override { calls.push_back(std::string("caption ") + text); }
    void StopAlarmTimer() override { calls.push_back("stop timer"); }
    const char* EventLogPath() override { return kLog; }
    const char* ArmedEventPath() override { return kArmed; }

    Calls calls;
};

const size_t kStamp = 22;  // "MM/DD/YY  HH:MM:SS    " before each entry

AlarmEvent PastEvent(const char* message, int execute)
{
    AlarmEvent event;
    EXPECT_EQ(1, event.ParseEventTime("01/01/2001 10:00"));
    event.SetMessage(message);
    event.SetExecute(execute);
    event.SetSoundChoice(kSoundNone);
    event.SetEnabled(1);
    return event;
}

class AlarmFiringTest : public TempFolderTest {
protected:
    FakeHost m_host;
    AlarmFiring m_firing;
};

TEST_F(AlarmFiringTest, ANoticeIsLoggedOnceAndShownWithTheMainWindowsHiddenUntilAClick)
{
    AlarmEvent event = PastEvent("Call \"Bob\"\r\nthen lunch", 0);
    m_firing.Armed(event, m_host);
    ASSERT_EQ(1, LoadArmedEvent(kArmed, event));

    HWND prompt = nullptr;
    Watcher watcher([&] { Click(prompt = WaitForOwnWindow(kPromptClass, "01/01/2001 10:00")); });
    EXPECT_EQ(AlarmFiring::kFired, m_firing.Check(event, m_host));
    watcher.Join();
    EXPECT_TRUE(prompt);
    EXPECT_EQ((Calls{"hide main", "hide tools", "show main", "show tools",
                     "caption LOG UPDATED 01/01/2001 10:00"}),
              m_host.calls);
    // The second line of the message carries no stamp of its own.
    EXPECT_EQ("\"Call \"Bob\"\r\nthen lunch\"\r\n", ReadFile(kLog).substr(kStamp));
    // Fired once: disabled, forgotten, and the next tick stops the timer.
    EXPECT_EQ(0, event.IsEnabled());
    EXPECT_EQ("<missing>", ReadFile(kArmed));
    m_host.calls.clear();
    EXPECT_EQ(AlarmFiring::kIdle, m_firing.Check(event, m_host));
    EXPECT_EQ(Calls{"stop timer"}, m_host.calls);
}

TEST_F(AlarmFiringTest, NothingFiresBeforeItsTimeAndOnlyWhatFellDueWhileClosedIsLate)
{
    AlarmEvent future = PastEvent("later", 0);
    future.SetEventTime(EventTime(EventTime::Now() + 1));  // this second is not yet past
    EXPECT_EQ(AlarmFiring::kWaiting, m_firing.Check(future, m_host));
    EXPECT_TRUE(m_host.calls.empty());

    // Armed through the dialog, a past time fires on time, not late.
    AlarmEvent event = PastEvent("no_such_program_here.exe", 1);
    m_firing.Armed(event, m_host);
    EXPECT_EQ(0, m_firing.Late());
    EXPECT_EQ(AlarmFiring::kFired, m_firing.Check(event, m_host));
    const std::string log = ReadFile(kLog), failed = "\"ERROR: no_such_program_here.exe\"\r\n";
    EXPECT_EQ(kStamp, log.find(failed));
    EXPECT_EQ(2 * kStamp + failed.size(), log.find("\"ERROR: ", kStamp + 1));

    // One still to come is not late.
    future.SetEventTime(EventTime(EventTime::Now() + 3600));
    m_firing.Armed(future, m_host);
    AlarmEvent next;
    ASSERT_EQ(1, m_firing.RestoreArmed(next, m_host));
    EXPECT_EQ(0, m_firing.Late());
}

TEST_F(AlarmFiringTest, RunCommandStartsAnyLengthClosesWhatItStartsAndGivesTheErrorText)
{
    // Longer than any fixed buffer a command line might have been put in.
    const std::string command = "cmd /c echo ran>ran.txt& rem " + std::string(3000, 'x');
    zstring error;
    ASSERT_EQ(1, RunCommand(command.c_str(), error));
    EXPECT_TRUE(PumpUntil([] { return ReadFile("ran.txt") == "ran\r\n"; }, 10000));

    DWORD before = 0, after = 0;
    GetProcessHandleCount(GetCurrentProcess(), &before);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(1, RunCommand("cmd /c exit 0", error));
    GetProcessHandleCount(GetCurrentProcess(), &after);
    EXPECT_LT(after, before + 4);  // two a start when they leak

    EXPECT_EQ(0, RunCommand("no_such_program_here.exe", error));
    zstring missing;
    EXPECT_STREQ(SystemErrorText(missing, ERROR_FILE_NOT_FOUND), error.c_str());
    EXPECT_EQ(0, RunCommand("", error));
}

}  // namespace
