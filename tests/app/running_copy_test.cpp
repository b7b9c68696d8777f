// One running copy: a second start brings the first to the front, hands it
// the volume it was given, and ends.
#include <windows.h>

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "base/clipboard_text.h"
#include "db/quote_database.h"
#include "program_driver.h"
#include "res/orvalis_ids.h"
#include "tests/db/volume_test_support.h"

namespace {

BOOL CALLBACK CountMain(HWND window, LPARAM count)
{
    char name[32] = "";
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) == "KV_SHARE")
        ++*reinterpret_cast<int*>(count);
    return TRUE;
}

int MainWindows()
{
    int count = 0;
    EnumWindows(CountMain, reinterpret_cast<LPARAM>(&count));
    return count;
}

class RunningCopyTest : public ProgramFixture {
protected:
    RunningCopyTest() : ProgramFixture(3) {}
};

}  // namespace

TEST_F(RunningCopyTest, ASecondStartHandsItsVolumeToTheRunningCopy)
{
    {
        QuoteDatabaseV2 other(zstring("Other.STD"));
        ASSERT_EQ(1u, other.append_item(make_quote(0, "cat", "the other volume's saying")));
    }
    RunningProgram first(m_folder.path());
    ASSERT_TRUE(first.WaitForCaption("Item Number ", true));
    const HWND main = first.Main();
    ShowWindow(main, SW_MINIMIZE);
    ASSERT_TRUE(WaitFor([&] { return IsIconic(main) != 0; }, 3000));

    RunningProgram second(m_folder.path(), "Other.STD");
    EXPECT_EQ(0, second.WaitForExit());
    EXPECT_TRUE(WaitFor([&] { return !IsIconic(main); }, 3000)) << "restored";
    EXPECT_EQ(1, MainWindows());
    // The first volume may show its item 0 too: the saying on show tells.
    EXPECT_TRUE(WaitFor(
        [&] {
            Command(main, ORV_CMD_COPY);
            Sleep(100);
            std::unique_ptr<zstring> text(ClipboardText().GetText());
            return text && std::string(text->c_str()) == "the other volume's saying";
        },
        5000));

    // A start without a volume only brings the running copy to the front.
    RunningProgram third(m_folder.path());
    EXPECT_EQ(0, third.WaitForExit());
    EXPECT_EQ(1, MainWindows());
    Close(first);
}

TEST_F(RunningCopyTest, HelpWithoutAHelpFileShowsTheGuideItCarries)
{
    RunningProgram program(m_folder.path());
    ASSERT_TRUE(program.WaitForCaption("Item Number ", true));
    Command(program.Main(), ORV_CMD_HELP);
    HWND guide = program.WaitForDialog("Orvalis Help");
    ASSERT_TRUE(guide);
    const std::string text = ControlText(guide, ORV_GUIDE_TEXT);
    EXPECT_EQ(0u, text.find("ORVALIS USER'S GUIDE\r\n")) << text.substr(0, 80);
    for (const char* part : {"Ctrl+X", "right-click it and answer Yes", "ORVLS3.DAT", "Pack Volume"})
        EXPECT_NE(std::string::npos, text.find(part)) << part;
    EXPECT_TRUE(Press(guide, IDOK));
    Close(program);
}
