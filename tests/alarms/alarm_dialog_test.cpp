#include "alarms/alarm_dialog.h"

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "alarms/alarm_event.h"
#include "res/orvalis_ids.h"
#include "tests/base/temp_folder_test.h"
#include "tests/alarms/window_watch.h"

namespace {

using AlarmDialogTest = TempFolderTest;

TEST_F(AlarmDialogTest, AnArmedEventIsShownAndOkTakesItAllOverWithTheWholeMessage)
{
    std::ofstream("warn.wav") << "RIFF";
    AlarmEvent event;
    ASSERT_EQ(1, event.ParseEventTime("12/24/2030 18:05"));
    event.SetMessage("line one\r\nline two");
    event.SetSoundChoice(kSoundHot);
    event.SetExecute(1);
    event.SetEnabled(1);
    // Past the 30,000 characters an edit control takes until told otherwise.
    const std::string more(40000, 'w');
    HWND dialog = nullptr;
    std::string time, message;
    std::vector<int> checks;  // the sound buttons, None first, then Execute
    Watcher watcher([&] {
        dialog = WaitForOwnWindow("#32770", "Schedule Alarm Event");
        time = WindowText(GetDlgItem(dialog, ORV_ALARM_TIME));
        message = WindowText(GetDlgItem(dialog, ORV_ALARM_MESSAGE));
        for (int id : {ORV_ALARM_NONE, ORV_ALARM_NORMAL, ORV_ALARM_WARN, ORV_ALARM_HOT,
                       ORV_ALARM_PANIC, ORV_ALARM_RANDOM, ORV_ALARM_EXECUTE})
            checks.push_back(static_cast<int>(SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0)));
        SetDlgItemTextA(dialog, ORV_ALARM_TIME, "01/02/2031 07:08");
        SendDlgItemMessageA(dialog, ORV_ALARM_MESSAGE, EM_SETSEL, static_cast<WPARAM>(-1), -1);
        SendDlgItemMessageA(dialog, ORV_ALARM_MESSAGE, EM_REPLACESEL, TRUE,
                            reinterpret_cast<LPARAM>(more.c_str()));
        SendDlgItemMessageA(dialog, ORV_ALARM_WARN, BM_CLICK, 0, 0);
        SendDlgItemMessageA(dialog, ORV_ALARM_EXECUTE, BM_CLICK, 0, 0);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    });
    AlarmDialog alarm_dialog(&event);
    EXPECT_EQ(1, alarm_dialog.Run());
    watcher.Join();
    ASSERT_TRUE(dialog);
    EXPECT_EQ("12/24/2030 18:05", time);
    EXPECT_EQ("line one\r\nline two", message);
    EXPECT_EQ((std::vector<int>{0, 0, 0, 1, 0, 0, 1}), checks);

    zstring typed;
    event.FormatEventTime(typed);
    EXPECT_STREQ("01/02/2031 07:08", typed.c_str());
    EXPECT_EQ("line one\r\nline two" + more, event.Message().c_str());
    EXPECT_EQ(static_cast<unsigned>(kSoundWarn), event.SoundChoice());
    EXPECT_STREQ("warn.wav", event.SoundFile().c_str());
    EXPECT_EQ(0, event.IsExecute());
}

}  // namespace
