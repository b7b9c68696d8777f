#include "alarms/alarm_dialog.h"

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "alarms/alarm_event.h"
#include "res/orvalis_ids.h"
#include "tests/alarms/alarm_test_support.h"
#include "tests/alarms/window_watch.h"

namespace {

const int kSoundButtons[] = {ORV_ALARM_NONE,  ORV_ALARM_NORMAL, ORV_ALARM_WARN,
                             ORV_ALARM_HOT,   ORV_ALARM_PANIC,  ORV_ALARM_RANDOM};

// What the dialog showed when it opened.
struct SeenDialog {
    HWND window = nullptr;
    std::string time;
    std::string message;
    std::vector<int> sound_checks;  // by sound choice, None first
    int execute = -1;
};

SeenDialog SeeDialog()
{
    SeenDialog seen;
    seen.window = WaitForOwnWindow("#32770", "Schedule Alarm Event");
    if (!seen.window)
        return seen;
    seen.time = TextOf(GetDlgItem(seen.window, ORV_ALARM_TIME));
    seen.message = TextOf(GetDlgItem(seen.window, ORV_ALARM_MESSAGE));
    for (int id : kSoundButtons)
        seen.sound_checks.push_back(
            static_cast<int>(SendDlgItemMessageA(seen.window, id, BM_GETCHECK, 0, 0)));
    seen.execute = static_cast<int>(SendDlgItemMessageA(seen.window, ORV_ALARM_EXECUTE, BM_GETCHECK, 0, 0));
    return seen;
}

void Type(HWND dialog, int id, const std::string& text)
{
    SendDlgItemMessageA(dialog, id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// Added at the end as typing or pasting adds it: within the edit's limit.
void TypeMore(HWND dialog, int id, const std::string& text)
{
    SendDlgItemMessageA(dialog, id, EM_SETSEL, static_cast<WPARAM>(-1), -1);
    SendDlgItemMessageA(dialog, id, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

void ClickButton(HWND dialog, int id)
{
    SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0);
}

void Press(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::string Formatted(const AlarmEvent& event)
{
    zstring text;
    event.FormatEventTime(text);
    return text.c_str();
}

using AlarmDialogTest = AlarmTest;

TEST_F(AlarmDialogTest, AnArmedEventIsShownAndOkTakesItAllOverWithTheWholeMessage)
{
    WriteBytes("warn.wav", "RIFF");
    AlarmEvent event;
    ASSERT_EQ(1, event.ParseEventTime("12/24/2030 18:05"));
    event.SetMessage("line one\r\nline two");
    event.SetSoundChoice(kSoundHot);
    event.SetExecute(1);
    event.SetEnabled(1);
    // Past the 30,000 characters an edit control takes until told otherwise.
    std::string more;
    while (more.size() < 40000)
        more += "\r\nten words of the long message that goes on and on";
    SeenDialog seen;
    Watcher watcher([&] {
        seen = SeeDialog();
        Type(seen.window, ORV_ALARM_TIME, "01/02/2031 07:08");
        TypeMore(seen.window, ORV_ALARM_MESSAGE, more);
        ClickButton(seen.window, ORV_ALARM_WARN);
        ClickButton(seen.window, ORV_ALARM_EXECUTE);
        Press(seen.window, IDOK);
    });
    AlarmDialog dialog(&event);
    EXPECT_EQ(1, dialog.Run());
    watcher.Join();
    ASSERT_TRUE(seen.window);
    EXPECT_EQ("12/24/2030 18:05", seen.time);
    EXPECT_EQ("line one\r\nline two", seen.message);
    EXPECT_EQ((std::vector<int>{0, 0, 0, 1, 0, 0}), seen.sound_checks);
    EXPECT_EQ(1, seen.execute);

    EXPECT_EQ(0, dialog.Cancelled());
    EXPECT_EQ("01/02/2031 07:08", Formatted(event));
    EXPECT_EQ("line one\r\nline two" + more, event.Message().c_str());
    EXPECT_EQ(static_cast<unsigned>(kSoundWarn), event.SoundChoice());
    EXPECT_STREQ("warn.wav", event.SoundFile().c_str());
    EXPECT_EQ(0, event.IsExecute());
    EXPECT_EQ(1, event.IsEnabled());
}

}  // namespace
