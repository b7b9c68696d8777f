// The alarm on the real Orvalis.exe: armed through the Schedule Alarm Event
// dialog, fired by the program's own timer, seen on screen and in the log.
#include <windows.h>

#include <cstdint>
#include <ctime>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "frame/tool_window.h"
#include "program_driver.h"
#include "res/orvalis_ids.h"
#include "tests/db/volume_test_support.h"

namespace {

const char kDialog[] = "Schedule Alarm Event";
const char kPromptClass[] = "VeltWnd2";
const char kPast[] = "01/01/2001 10:00";

std::string TimeText(std::time_t when)
{
    char text[32];
    std::strftime(text, sizeof text, "%m/%d/%Y %H:%M", std::localtime(&when));
    return text;
}

// The log's lines, each with its 22-character time stamp cut off.
std::vector<std::string> LoggedLines(const std::string& path)
{
    std::vector<std::string> lines;
    const std::string log = file_bytes(path);
    size_t start = 0;
    for (size_t end; (end = log.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(end - start > 22 ? log.substr(start + 22, end - start - 22) : "?");
    return lines;
}

// A control's text, asked of the control itself: across processes
// GetWindowText gives an edit control's first text, not what it holds.
std::string ControlText(HWND dialog, int id)
{
    const LRESULT length = SendDlgItemMessageA(dialog, id, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(SendDlgItemMessageA(dialog, id, WM_GETTEXT, text.size(),
                                                        reinterpret_cast<LPARAM>(&text[0]))));
    return text;
}

class AlarmProgramTest : public ProgramFixture {
protected:
    AlarmProgramTest() : ProgramFixture(3) { DeleteFileA(m_armed.c_str()); }
    // A leftover armed alarm would fire in the next test's program.
    void TearDown() override { DeleteFileA(m_armed.c_str()); }

    // Opens the dialog, fills it in and presses OK without waiting for it
    // to go (a refused time keeps it up behind the error box).
    void Arm(RunningProgram& program, const std::string& time, const std::string& message,
             bool toggle_execute = false)
    {
        Command(m_main, ORV_CMD_ALARMS);
        HWND dialog = program.WaitForDialog(kDialog);
        ASSERT_TRUE(dialog);
        SetItemText(dialog, ORV_ALARM_TIME, time);
        SetItemText(dialog, ORV_ALARM_MESSAGE, message);
        if (toggle_execute)
            SendDlgItemMessageA(dialog, ORV_ALARM_EXECUTE, BM_CLICK, 0, 0);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }

    void Start(RunningProgram& program)
    {
        m_main = program.Main();
        ASSERT_TRUE(m_main);
        ASSERT_TRUE(program.WaitForItem());
        m_tools = program.WaitForWindow(ToolWindow::kClassName);
        ASSERT_TRUE(m_tools);
    }

    HWND m_main = nullptr;
    HWND m_tools = nullptr;
    const std::string m_armed = WindowsFile("ORVLS3.ALM");
};

TEST_F(AlarmProgramTest, TheDialogArmsTheAlarmAndItsNoticeComesUpOverHiddenWindows)
{
    RunningProgram program(m_folder.path());
    Start(program);

    // The current time; Help; Hot, then Cancel keeps Hot and nothing else.
    const std::time_t before = std::time(nullptr);
    Command(m_main, ORV_CMD_ALARMS);
    HWND dialog = program.WaitForDialog(kDialog);
    ASSERT_TRUE(dialog);
    const std::string shown = ControlText(dialog, ORV_ALARM_TIME);
    EXPECT_TRUE(shown == TimeText(before) || shown == TimeText(std::time(nullptr))) << shown;
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(ORV_ALARM_HELP, BN_CLICKED), 0);
    Answer(program, "QUICK HELP",
           "Edit the time. Add your message. Select a sound to play. 'Execute' runs the message "
           "from the command prompt. All events are logged.");
    EXPECT_EQ(BST_CHECKED, SendDlgItemMessageA(dialog, ORV_ALARM_NORMAL, BM_GETCHECK, 0, 0));
    SendDlgItemMessageA(dialog, ORV_ALARM_HOT, BM_CLICK, 0, 0);
    SetItemText(dialog, ORV_ALARM_MESSAGE, "not kept");
    ASSERT_TRUE(Press(dialog, IDCANCEL));
    Command(m_main, ORV_CMD_ALARMS);
    dialog = program.WaitForDialog(kDialog);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(BST_CHECKED, SendDlgItemMessageA(dialog, ORV_ALARM_HOT, BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_UNCHECKED, SendDlgItemMessageA(dialog, ORV_ALARM_NORMAL, BM_GETCHECK, 0, 0));
    EXPECT_EQ("This is a reminder!", ControlText(dialog, ORV_ALARM_MESSAGE));
    EXPECT_EQ(BST_UNCHECKED, SendDlgItemMessageA(dialog, ORV_ALARM_EXECUTE, BM_GETCHECK, 0, 0));
    ASSERT_TRUE(Press(dialog, IDCANCEL));

    // A time in another form: the error once, and nothing fires.
    Arm(program, "5/9/2001 14:30", "not this");
    Answer(program, "EVENT INPUT ERROR",
           "Time format is not correct: The date and time were not updated. Event will be "
           "disabled.");
    EXPECT_FALSE(program.WaitForDialog("EVENT INPUT ERROR", 300));
    EXPECT_FALSE(program.WaitForWindow(kPromptClass, nullptr, 2500));
    EXPECT_EQ("", file_bytes(m_log));

    // A time gone by fires at the next tick.
    const std::string caption = WindowText(m_main);
    Arm(program, kPast, "Stretch your legs");
    HWND prompt = program.WaitForWindow(kPromptClass, kPast, 2000);
    ASSERT_TRUE(prompt);
    Sleep(200);  // sized and placed once it has been created
    EXPECT_TRUE(GetWindowLongA(prompt, GWL_EXSTYLE) & WS_EX_TOPMOST);
    RECT rect = {}, area = {};
    GetWindowRect(prompt, &rect);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_TRUE(rect.left >= area.left && rect.top >= area.top && rect.right <= area.right &&
                rect.bottom <= area.bottom);
    EXPECT_FALSE(IsWindowVisible(m_main));
    EXPECT_FALSE(IsWindowVisible(m_tools));
    EXPECT_EQ(std::vector<std::string>{"\"Stretch your legs\""}, LoggedLines(m_log));
    EXPECT_EQ(caption, WindowText(m_main));

    PostMessageA(prompt, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(prompt); }, 3000));
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(m_main) && IsWindowVisible(m_tools); }, 3000));
    // Once only. (The caption's "LOG UPDATED" lasts only until the window,
    // shown again, repaints its item and its caption with it.)
    EXPECT_FALSE(program.WaitForWindow(kPromptClass, nullptr, 2000));
    EXPECT_EQ(1u, LoggedLines(m_log).size());
    Close(program);
}

TEST_F(AlarmProgramTest, CommandsAreStartedAndLoggedAndAnUnwritableLogGivesBothStopBoxes)
{
    RunningProgram program(m_folder.path());
    Start(program);
    const std::string command = "cmd /c echo done>done.txt";
    Arm(program, kPast, command, true);
    EXPECT_TRUE(program.WaitForCaption(std::string("LOG UPDATED ") + kPast, 3000));
    EXPECT_TRUE(WaitFor([] { return file_bytes("done.txt") == "done\r\n"; }, 10000));
    EXPECT_FALSE(program.WaitForWindow(kPromptClass, nullptr, 0));

    Arm(program, "01/02/2001 10:00", "no_such_program_here.exe");
    EXPECT_TRUE(program.WaitForCaption("LOG UPDATED 01/02/2001 10:00", 3000));
    const std::vector<std::string> lines = LoggedLines(m_log);
    ASSERT_EQ(3u, lines.size());
    EXPECT_EQ("\"STARTED OKAY: " + command + "\"", lines[0]);
    EXPECT_EQ("\"ERROR: no_such_program_here.exe\"", lines[1]);
    EXPECT_EQ(0u, lines[2].find("\"ERROR: "));
    EXPECT_GT(lines[2].size(), 10u);

    // Read-only, and held open with no sharing: running as root, Wine
    // writes to read-only files all the same.
    SetFileAttributesA(m_log.c_str(), FILE_ATTRIBUTE_READONLY);
    HANDLE held = CreateFileA(m_log.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, held);
    Arm(program, "01/03/2001 10:00", "cmd /c exit 0");
    Answer(program, m_log.c_str(), "Unable to write to log file.");
    Answer(program, "Error!", "STARTED OKAY: cmd /c exit 0");
    CloseHandle(held);
    SetFileAttributesA(m_log.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_NE("LOG UPDATED 01/03/2001 10:00", WindowText(m_main));
    EXPECT_EQ(3u, LoggedLines(m_log).size());
    Close(program);
}

TEST_F(AlarmProgramTest, AnArmedAlarmSurvivesARestartAndFiresLateOnce)
{
    {
        RunningProgram program(m_folder.path());
        Start(program);
        Arm(program, "12/31/2030 23:59", "no_such_program_here.exe", true);
        ASSERT_TRUE(WaitFor([&] { return file_exists(m_armed); }, 3000));
        Close(program);
    }
    {
        RunningProgram program(m_folder.path());
        Start(program);
        Command(m_main, ORV_CMD_ALARMS);
        HWND dialog = program.WaitForDialog(kDialog);
        ASSERT_TRUE(dialog);
        EXPECT_EQ("12/31/2030 23:59", ControlText(dialog, ORV_ALARM_TIME));
        EXPECT_EQ("no_such_program_here.exe", ControlText(dialog, ORV_ALARM_MESSAGE));
        EXPECT_EQ(BST_CHECKED, SendDlgItemMessageA(dialog, ORV_ALARM_EXECUTE, BM_GETCHECK, 0, 0));
        ASSERT_TRUE(Press(dialog, IDCANCEL));
        Close(program);
    }
    // The time passes while the program is closed: the file's leading
    // second count moves to 01/01/2001 10:00.
    std::string kept = file_bytes(m_armed);
    ASSERT_EQ(' ', kept[0]);
    std::tm due = {};
    due.tm_year = 101, due.tm_mday = 1, due.tm_hour = 10, due.tm_isdst = -1;
    kept.replace(1, kept.find(' ', 1) - 1, std::to_string(static_cast<long long>(std::mktime(&due))));
    write_bytes(m_armed, kept);
    {
        RunningProgram program(m_folder.path());
        Start(program);
        EXPECT_TRUE(program.WaitForCaption(std::string("LOG UPDATED ") + kPast, 3000));
        const std::vector<std::string> lines = LoggedLines(m_log);
        ASSERT_EQ(2u, lines.size());
        EXPECT_EQ("\"LATE (due 01/01/2001 10:00): ERROR: no_such_program_here.exe\"", lines[0]);
        EXPECT_EQ(0u, lines[1].find("\"ERROR: "));
        EXPECT_FALSE(file_exists(m_armed));
        Close(program);
    }
    {
        RunningProgram program(m_folder.path());
        Start(program);
        Sleep(2500);
        EXPECT_EQ(2u, LoggedLines(m_log).size());
        Close(program);
    }
}

TEST(AlarmTonesTest, FiveShortDistinctTonesLieBesideTheProgram)
{
    std::string folder = ProgramUnderTest();
    folder.resize(folder.find_last_of('\\') + 1);
    std::set<std::string> tones;
    for (const char* name : {"normal", "warn", "hot", "panic", "random"}) {
        const std::string wav = file_bytes(folder + name + ".wav");
        ASSERT_GT(wav.size(), 44u) << name;
        EXPECT_EQ("RIFF", wav.substr(0, 4)) << name;
        EXPECT_EQ("WAVEfmt ", wav.substr(8, 8)) << name;
        EXPECT_EQ(std::string("\x01\x00\x01\x00", 4), wav.substr(20, 4)) << name;  // PCM, mono
        const uint32_t rate = static_cast<uint8_t>(wav[24]) | static_cast<uint8_t>(wav[25]) << 8 |
                              static_cast<uint32_t>(static_cast<uint8_t>(wav[26])) << 16;
        const double seconds = double(wav.size() - 44) / (rate * 2);
        EXPECT_GT(seconds, 0.1) << name;
        EXPECT_LT(seconds, 1.0) << name;
        tones.insert(wav.substr(44));
    }
    EXPECT_EQ(5u, tones.size());
}

}  // namespace
