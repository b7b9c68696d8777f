// The alarm on the real Orvalis.exe: armed through the Schedule Alarm Event
// dialog, fired by the program's own timer, seen on screen and in the log.
#include <windows.h>

#include <algorithm>
#include <ctime>
#include <utility>
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

class AlarmProgramTest : public ProgramFixture {
protected:
    AlarmProgramTest() : ProgramFixture(3) { DeleteFileA(m_armed.c_str()); }
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
        ASSERT_TRUE(program.WaitForCaption("Item Number ", true));
        m_main = program.Main();
    }

    HWND m_main = nullptr;
    const std::string m_armed = WindowsFile("ORVLS3.ALM");
};

TEST_F(AlarmProgramTest, ABadTimeIsRefusedAndATimeGoneByFiresOnceWithAPrompt)
{
    RunningProgram program(m_folder.path());
    Start(program);

    // A time in another form: the error once, and nothing fires.
    Arm(program, "5/9/2001 14:30", "not this");
    Answer(program, "EVENT INPUT ERROR",
           "Time format is not correct: The date and time were not updated. Event will be "
           "disabled.");
    EXPECT_FALSE(program.WaitForDialog("EVENT INPUT ERROR", 300));
    EXPECT_FALSE(program.WaitForWindow(kPromptClass, nullptr, 2500));
    EXPECT_EQ("", file_bytes(m_log));

    // A time gone by fires at the next tick.
    Arm(program, kPast, "Stretch your legs");
    HWND prompt = program.WaitForWindow(kPromptClass, kPast, 2000);
    ASSERT_TRUE(prompt);
    EXPECT_TRUE(GetWindowLongA(prompt, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(IsWindowVisible(m_main));
    EXPECT_EQ(std::vector<std::string>{"\"Stretch your legs\""}, LoggedLines(m_log));

    PostMessageA(prompt, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(prompt); }, 3000));
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(m_main) != 0; }, 3000));
    // Once only.
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
    EXPECT_TRUE(program.WaitForCaption(std::string("LOG UPDATED ") + kPast));
    EXPECT_TRUE(WaitFor([] { return file_bytes("done.txt") == "done\r\n"; }, 10000));
    EXPECT_FALSE(program.WaitForWindow(kPromptClass, nullptr, 0));

    Arm(program, "01/02/2001 10:00", "no_such_program_here.exe");
    EXPECT_TRUE(program.WaitForCaption("LOG UPDATED 01/02/2001 10:00"));
    const std::vector<std::string> lines = LoggedLines(m_log);
    ASSERT_EQ(3u, lines.size());
    EXPECT_EQ("\"STARTED OKAY: " + command + "\"", lines[0]);
    EXPECT_EQ("\"ERROR: no_such_program_here.exe\"", lines[1]);
    EXPECT_EQ(0u, lines[2].find("\"ERROR: "));
    EXPECT_GT(lines[2].size(), 10u);

    // Held open with no sharing.
    HANDLE held = CreateFileA(m_log.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, held);
    Arm(program, "01/03/2001 10:00", "cmd /c exit 0");
    Answer(program, m_log.c_str(), "Unable to write to log file.");
    Answer(program, "Error!", "STARTED OKAY: cmd /c exit 0");
    CloseHandle(held);
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
        EXPECT_TRUE(program.WaitForCaption(std::string("LOG UPDATED ") + kPast));
        const std::vector<std::string> lines = LoggedLines(m_log);
        ASSERT_EQ(2u, lines.size());
        EXPECT_EQ("\"LATE (due 01/01/2001 10:00): ERROR: no_such_program_here.exe\"", lines[0]);
        EXPECT_EQ(0u, lines[1].find("\"ERROR: "));
        EXPECT_FALSE(file_exists(m_armed));
        Close(program);
    }
}

}  // namespace

namespace {

// What the screen shows of a window: a sum over its pixels.
uint64_t Picture(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    HDC screen = GetDC(nullptr);
    uint64_t sum = 0;
    for (LONG y = rect.top; y < rect.bottom; ++y) {
        for (LONG x = rect.left; x < rect.right; ++x)
            sum = sum * 31 + GetPixel(screen, x, y);
    }
    ReleaseDC(nullptr, screen);
    return sum;
}

// The tool window's buttons sit in a row in the order they were added:
// Previous, Next, Schedule Event, Web-Page.
HWND ButtonInRow(HWND tools, size_t index)
{
    std::vector<std::pair<LONG, HWND>> row;
    for (HWND child = GetWindow(tools, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rect;
        GetWindowRect(child, &rect);
        row.emplace_back(rect.left, child);
    }
    std::sort(row.begin(), row.end());
    return index < row.size() ? row[index].second : nullptr;
}

}  // namespace

TEST_F(AlarmProgramTest, WhileAnAlarmIsSetItsButtonShowsItAndItsTipGivesTheTime)
{
    const char kFuture[] = "12/31/2099 10:00";
    RunningProgram program(m_folder.path());
    Start(program);
    HWND tools = program.WaitForWindow(ToolWindow::kClassName);
    ASSERT_TRUE(tools);
    HWND button = ButtonInRow(tools, 2);
    ASSERT_TRUE(button);
    Sleep(300);
    const uint64_t unset = Picture(button);
    Arm(program, kFuture, "future");
    ASSERT_TRUE(WaitFor([&] { return Picture(button) != unset; }, 3000)) << "the set clock";
    // Pointing at the button puts its tip in the tool window's caption.
    PostMessageA(button, WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
    EXPECT_TRUE(WaitFor([&] { return WindowText(tools) == std::string("Alarm set for ") + kFuture; },
                        3000))
        << WindowText(tools);
    Close(program);
}
