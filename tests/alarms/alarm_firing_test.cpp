#include "alarms/alarm_firing.h"

#include <windows.h>
#include <mmsystem.h>

#include <atomic>
#include <cctype>
#include <memory>
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
#include "tests/frame/gui_test_support.h"

namespace {

const char kStamp[] = "MM/DD/YY  HH:MM:SS    ";

// Records what the firing asks of the application.
class FakeHost : public AlarmHost {
public:
    explicit FakeHost(const std::string& folder)
        : m_log(folder + "\\ORVLS.TXT"), m_armed(folder + "\\ORVLS3.ALM")
    {
    }

    int MainMinimised() override { return minimised; }
    void HideMainWindow() override { Record("hide main"), main_hidden = true; }
    void ShowMainWindow() override { Record("show main"), main_hidden = false; }
    void HideToolWindow() override { Record("hide tools"), tools_hidden = true; }
    void ShowToolWindow() override { Record("show tools"), tools_hidden = false; }
    void SetMainCaption(const char* text) override { Record(std::string("caption ") + text); }
    void StopAlarmTimer() override { Record("stop timer"); }
    const char* EventLogPath() override { return m_log.c_str(); }
    const char* ArmedEventPath() override { return m_armed.c_str(); }

    std::vector<std::string> calls;
    int minimised = 0;
    std::atomic<bool> main_hidden{false};
    std::atomic<bool> tools_hidden{false};

private:
    void Record(const std::string& call) { calls.push_back(call); }

    std::string m_log;
    std::string m_armed;
};

using Calls = std::vector<std::string>;

// "MM/DD/YY  HH:MM:SS    " with digits where the letters are.
bool Stamped(const std::string& line)
{
    const std::string shape = "00/00/00  00:00:00    ";
    if (line.size() <= shape.size())
        return false;
    for (size_t i = 0; i < shape.size(); ++i)
        if (shape[i] == '0' ? !std::isdigit(static_cast<unsigned char>(line[i])) : line[i] != shape[i])
            return false;
    return true;
}

// The log's lines, each with its time stamp cut off; a line without one
// (a message's second line) is kept whole, and an unended last line shows.
std::vector<std::string> LoggedLines(const std::string& path)
{
    std::vector<std::string> lines;
    const std::string log = ReadBytes(path);
    size_t start = 0;
    for (size_t end; (end = log.find("\r\n", start)) != std::string::npos; start = end + 2) {
        const std::string line = log.substr(start, end - start);
        lines.push_back(Stamped(line) ? line.substr(22) : line);
    }
    if (start != log.size())
        lines.push_back("unended: " + log.substr(start));
    return lines;
}

class AlarmFiringTest : public AlarmTest {
protected:
    void SetUp() override
    {
        AlarmTest::SetUp();
        m_host.reset(new FakeHost(m_folder));
    }

    // An event armed for 01/01/2001 10:00, long past.
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

    FakeHost& Host() { return *m_host; }
    std::string Log() const { return m_folder + "\\ORVLS.TXT"; }
    std::string Armed() const { return m_folder + "\\ORVLS3.ALM"; }

private:
    std::unique_ptr<FakeHost> m_host;
};

TEST_F(AlarmFiringTest, ANoticeIsLoggedOnceAndShownWithTheMainWindowsHiddenUntilAClick)
{
    AlarmEvent event = PastEvent("Call \"Bob\"\r\nthen lunch", 0);
    AlarmFiring firing;
    firing.Armed(event, Host());
    ASSERT_EQ(1, LoadArmedEvent(Armed().c_str(), event));

    SeenPrompt seen;
    bool hidden_while_shown = false;
    Watcher watcher([&] {
        seen = SeePrompt("01/01/2001 10:00");
        hidden_while_shown = Host().main_hidden && Host().tools_hidden;
        Click(seen.window);
    });
    EXPECT_EQ(AlarmFiring::kFired, firing.Check(event, Host()));
    watcher.Join();
    EXPECT_TRUE(seen.window);
    EXPECT_TRUE(hidden_while_shown);
    EXPECT_EQ((Calls{"hide main", "hide tools", "show main", "show tools",
                     "caption LOG UPDATED 01/01/2001 10:00"}),
              Host().calls);
    // The second line of the message carries no stamp of its own.
    EXPECT_EQ((std::vector<std::string>{"\"Call \"Bob\"", "then lunch\""}), LoggedLines(Log()));
    // Fired once: disabled, forgotten, and the next tick stops the timer.
    EXPECT_EQ(0, event.IsEnabled());
    EXPECT_EQ("<missing>", ReadBytes(Armed()));
    Host().calls.clear();
    EXPECT_EQ(AlarmFiring::kIdle, firing.Check(event, Host()));
    EXPECT_EQ(Calls{"stop timer"}, Host().calls);

    // Minimised, the windows stay as they are; the main window is shown.
    Host().calls.clear();
    Host().minimised = 1;
    event.SetEnabled(1);
    Watcher again([&] { Click(WaitForOwnWindow(kPromptClass, "01/01/2001 10:00")); });
    EXPECT_EQ(AlarmFiring::kFired, firing.Check(event, Host()));
    again.Join();
    EXPECT_EQ((Calls{"show main", "caption LOG UPDATED 01/01/2001 10:00"}), Host().calls);
}

TEST_F(AlarmFiringTest, NothingFiresBeforeTheClockHasPassedTheEventTime)
{
    AlarmEvent event = PastEvent("later", 1);
    event.SetEventTime(EventTime(EventTime::Now() + 3600));
    AlarmFiring firing;
    EXPECT_EQ(AlarmFiring::kWaiting, firing.Check(event, Host()));
    // The current second is not yet past.
    event.SetEventTime(EventTime(EventTime::Now() + 1));
    EXPECT_EQ(AlarmFiring::kWaiting, firing.Check(event, Host()));
    EXPECT_EQ(1, event.IsEnabled());
    EXPECT_TRUE(Host().calls.empty());
    EXPECT_EQ("<missing>", ReadBytes(Log()));
}

// The late firing after a restart is seen on the real program; here what
// is not late, and what is not kept.
TEST_F(AlarmFiringTest, OnlyAnAlarmThatFellDueWhileTheProgramWasClosedIsLate)
{
    AlarmEvent next;
    AlarmFiring firing;
    // Armed through the dialog, a past time fires on time, not late.
    AlarmEvent event = PastEvent("no_such_program_here.exe", 1);
    firing.Armed(event, Host());
    EXPECT_EQ(0, firing.Late());
    EXPECT_EQ(AlarmFiring::kFired, firing.Check(event, Host()));
    EXPECT_EQ(0u, LoggedLines(Log())[0].find("\"ERROR: no_such"));
    EXPECT_EQ("<missing>", ReadBytes(Armed()));

    // One still to come is not late; a disabled event forgets the file; a
    // damaged file is ignored and changes nothing.
    AlarmEvent future = PastEvent("later", 0);
    future.SetEventTime(EventTime(EventTime::Now() + 3600));
    firing.Armed(future, Host());
    ASSERT_EQ(1, firing.RestoreArmed(next, Host()));
    EXPECT_EQ(0, firing.Late());
    future.SetEnabled(0);
    firing.Armed(future, Host());
    EXPECT_EQ("<missing>", ReadBytes(Armed()));
    WriteBytes(Armed(), " 978361200  1 1 0 99999 later");
    AlarmEvent untouched;
    EXPECT_EQ(0, firing.RestoreArmed(untouched, Host()));
    EXPECT_EQ(0, untouched.IsEnabled());
    EXPECT_STREQ("This is a reminder!", untouched.Message().c_str());
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

TEST_F(AlarmFiringTest, TheSoundPlayerNeverPlaysAnEmptyNameAndReportsErrorsInABox)
{
    SoundPlayer player;
    EXPECT_EQ(SoundPlayer::kSynchronous, player.Flags());
    player.SetAsync(1);
    EXPECT_EQ(SoundPlayer::kAsynchronous, player.Flags());
    player.SetAsync(0);
    EXPECT_EQ(SoundPlayer::kSynchronous, player.Flags());
    EXPECT_EQ(0u, player.Failed());
    EXPECT_EQ(0, player.Play(""));
    EXPECT_EQ(0, player.Play(nullptr));
    EXPECT_EQ(1u, player.Failed());

    BoxAnswerer answerer;
    EXPECT_EQ(1, player.ReportError(MCIERR_INVALID_DEVICE_ID));
    EXPECT_EQ(0, player.ReportError(1));
    ASSERT_EQ(2u, answerer.Boxes().size());
    for (const SeenBox& box : answerer.Boxes()) {
        EXPECT_EQ("ERROR", box.caption);
        EXPECT_EQ(nullptr, box.owner);
    }
    EXPECT_NE("", answerer.Boxes()[0].text);
    EXPECT_NE("General Failure", answerer.Boxes()[0].text);
    EXPECT_EQ("General Failure", answerer.Boxes()[1].text);
}

}  // namespace
