#include "alarms/alarm_firing.h"

#include <windows.h>

#include <atomic>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "alarms/alarm_event.h"
#include "alarms/alarm_host.h"
#include "alarms/run_command.h"
#include "alarms/sound_player.h"
#include "base/zstring.h"
#include "frame/message_box.h"
#include "tests/alarms/alarm_test_support.h"
#include "tests/alarms/window_watch.h"

namespace {

using Calls = std::vector<std::string>;
const char kLog[] = "ORVLS.TXT";
const char kArmed[] = "ORVLS3.ALM";

// Records what the firing asks of the application; the files are in the
// test's current folder.
class FakeHost : public AlarmHost {
public:
    int MainMinimised() override { return minimised; }
    void HideMainWindow() override { calls.push_back("hide main"), main_hidden = true; }
    void ShowMainWindow() override { calls.push_back("show main"), main_hidden = false; }
    void HideToolWindow() override { calls.push_back("hide tools"), tools_hidden = true; }
    void ShowToolWindow() override { calls.push_back("show tools"), tools_hidden = false; }
    void SetMainCaption(const char* text) override { calls.push_back(std::string("caption ") + text); }
    void StopAlarmTimer() override { calls.push_back("stop timer"); }
    const char* EventLogPath() override { return kLog; }
    const char* ArmedEventPath() override { return kArmed; }

    Calls calls;
    int minimised = 0;
    std::atomic<bool> main_hidden{false};
    std::atomic<bool> tools_hidden{false};
};

// The log with each time stamp shown as "@".
std::string StampedLog()
{
    static const std::regex stamp("\\d\\d/\\d\\d/\\d\\d  \\d\\d:\\d\\d:\\d\\d    ");
    return std::regex_replace(ReadBytes(kLog), stamp, "@");
}

class AlarmFiringTest : public AlarmTest {
protected:
    // An event armed for 01/01/2001 10:00, long past.
    static AlarmEvent PastEvent(const char* message, int execute)
    {
        AlarmEvent event;
        EXPECT_EQ(1, event.ParseEventTime("01/01/2001 10:00"));
        event.SetMessage(message);
        event.SetExecute(execute);
        event.SetSoundChoice(kSoundNone);
        event.SetEnabled(1);
        return event;
    }

    FakeHost m_host;
    AlarmFiring m_firing;
};

TEST_F(AlarmFiringTest, ANoticeIsLoggedOnceAndShownWithTheMainWindowsHiddenUntilAClick)
{
    AlarmEvent event = PastEvent("Call \"Bob\"\r\nthen lunch", 0);
    m_firing.Armed(event, m_host);
    ASSERT_EQ(1, LoadArmedEvent(kArmed, event));

    HWND prompt = nullptr;
    bool hidden_while_shown = false;
    Watcher watcher([&] {
        prompt = WaitForOwnWindow(kPromptClass, "01/01/2001 10:00");
        hidden_while_shown = m_host.main_hidden && m_host.tools_hidden;
        Click(prompt);
    });
    EXPECT_EQ(AlarmFiring::kFired, m_firing.Check(event, m_host));
    watcher.Join();
    EXPECT_TRUE(prompt);
    EXPECT_TRUE(hidden_while_shown);
    EXPECT_EQ((Calls{"hide main", "hide tools", "show main", "show tools",
                     "caption LOG UPDATED 01/01/2001 10:00"}),
              m_host.calls);
    // The second line of the message carries no stamp of its own.
    EXPECT_EQ("@\"Call \"Bob\"\r\nthen lunch\"\r\n", StampedLog());
    // Fired once: disabled, forgotten, and the next tick stops the timer.
    EXPECT_EQ(0, event.IsEnabled());
    EXPECT_EQ("<missing>", ReadBytes(kArmed));
    m_host.calls.clear();
    EXPECT_EQ(AlarmFiring::kIdle, m_firing.Check(event, m_host));
    EXPECT_EQ(Calls{"stop timer"}, m_host.calls);

    // Minimised, the windows stay as they are; the main window is shown.
    m_host.calls.clear();
    m_host.minimised = 1;
    event.SetEnabled(1);
    Watcher again([&] { Click(WaitForOwnWindow(kPromptClass, "01/01/2001 10:00")); });
    EXPECT_EQ(AlarmFiring::kFired, m_firing.Check(event, m_host));
    again.Join();
    EXPECT_EQ((Calls{"show main", "caption LOG UPDATED 01/01/2001 10:00"}), m_host.calls);
}

// The late firing after a restart is seen on the real program; here what
// is not yet due, what is not late, and what is not kept.
TEST_F(AlarmFiringTest, NothingFiresBeforeItsTimeAndOnlyWhatFellDueWhileClosedIsLate)
{
    AlarmEvent future = PastEvent("later", 0);
    future.SetEventTime(EventTime(EventTime::Now() + 1));  // this second is not yet past
    EXPECT_EQ(AlarmFiring::kWaiting, m_firing.Check(future, m_host));
    EXPECT_EQ(1, future.IsEnabled());
    EXPECT_TRUE(m_host.calls.empty());
    EXPECT_EQ("<missing>", ReadBytes(kLog));

    // Armed through the dialog, a past time fires on time, not late.
    AlarmEvent event = PastEvent("no_such_program_here.exe", 1);
    m_firing.Armed(event, m_host);
    EXPECT_EQ(0, m_firing.Late());
    EXPECT_EQ(AlarmFiring::kFired, m_firing.Check(event, m_host));
    EXPECT_EQ(0u, StampedLog().find("@\"ERROR: no_such_program_here.exe\"\r\n@\"ERROR: "));
    EXPECT_EQ("<missing>", ReadBytes(kArmed));

    // One still to come is not late; a disabled event forgets the file.
    future.SetEventTime(EventTime(EventTime::Now() + 3600));
    m_firing.Armed(future, m_host);
    AlarmEvent next;
    ASSERT_EQ(1, m_firing.RestoreArmed(next, m_host));
    EXPECT_EQ(0, m_firing.Late());
    future.SetEnabled(0);
    m_firing.Armed(future, m_host);
    EXPECT_EQ("<missing>", ReadBytes(kArmed));
    EXPECT_EQ(0, m_firing.RestoreArmed(next, m_host));
}

TEST_F(AlarmFiringTest, RunCommandStartsAnyLengthClosesWhatItStartsAndGivesTheErrorText)
{
    // Longer than any fixed buffer a command line might have been put in.
    const std::string command = "cmd /c echo ran>ran.txt& rem " + std::string(3000, 'x');
    zstring error("unchanged");
    ASSERT_EQ(1, RunCommand(command.c_str(), error));
    EXPECT_TRUE(PumpUntil([] { return ReadBytes("ran.txt") == "ran\r\n"; }, 10000));
    EXPECT_STRNE("unchanged", error.c_str());

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

TEST_F(AlarmFiringTest, TheSoundPlayerNeverPlaysAnEmptyName)
{
    // The system would play its default sound instead.
    SoundPlayer player;
    EXPECT_EQ(0, player.Play(""));
    EXPECT_EQ(0, player.Play(nullptr));
    EXPECT_EQ(1u, player.Failed());
}

}  // namespace
