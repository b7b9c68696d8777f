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
    EXPECT_TRUE(first.WaitForCaption("Item Number 0"));
    Command(main, ORV_CMD_COPY);
    EXPECT_TRUE(WaitFor(
        [] {
            std::unique_ptr<zstring> text(ClipboardText().GetText());
            return text && std::string(text->c_str()) == "the other volume's saying";
        },
        3000));

    // A start without a volume only brings the running copy to the front.
    RunningProgram third(m_folder.path());
    EXPECT_EQ(0, third.WaitForExit());
    EXPECT_EQ(1, MainWindows());
    Close(first);
}
