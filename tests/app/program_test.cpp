// The real Orvalis.exe, started in a fresh folder on a known volume and
// driven from outside as a user would.
#include <windows.h>

#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "base/clipboard_text.h"
#include "db/quote_database.h"
#include "frame/tool_window.h"
#include "program_driver.h"
#include "res/orvalis_ids.h"
#include "tests/db/volume_test_support.h"

namespace {

const int kItems = 10;
const char kFirstRunState[] = "12 Lite Version1 31 2";

void PutOnClipboard(const std::string& text)
{
    ASSERT_EQ(1, ClipboardText().PutText(text.c_str()));
}

std::string ClipboardString()
{
    std::unique_ptr<zstring> text(ClipboardText().GetText());
    return text ? text->c_str() : "";
}

class ProgramTest : public ProgramFixture {
protected:
    ProgramTest() : ProgramFixture(kItems) {}

    // Goes to an item through the Quote Lookup dialog.
    void Goto(RunningProgram& program, const std::string& number)
    {
        Command(program.Main(), ORV_CMD_GOTO_QUOTE);
        HWND lookup = program.WaitForDialog("Quote Lookup");
        ASSERT_TRUE(lookup);
        SetItemText(lookup, ORV_LOOKUP_NUMBER, number);
        ASSERT_TRUE(Press(lookup, IDOK));
    }

    void RightClick(HWND main)
    {
        PostMessageA(main, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(30, 30));
        PostMessageA(main, WM_RBUTTONUP, 0, MAKELPARAM(30, 30));
    }
};

TEST_F(ProgramTest, FirstRunWritesTheStateFileAndKeepsTheLog)
{
    write_bytes(m_log, "an earlier firing\r\n");
    RunningProgram program(m_folder.path());
    ASSERT_TRUE(program.WaitForCaption("Item Number ", true));
    HWND tools = program.WaitForWindow(ToolWindow::kClassName);
    ASSERT_TRUE(tools);
    Sleep(300);  // both windows painted
    EXPECT_TRUE(SaveScreenshot(program.Main(), tools, TestFolder() + "\\orvalis-main-window.bmp"));
    EXPECT_EQ(kFirstRunState, file_bytes(m_state));
    EXPECT_EQ("an earlier firing\r\n", file_bytes(m_log));
    Close(program);

    // Version, display font, then the two placement records.
    const std::string state = file_bytes(m_state);
    ASSERT_EQ(0u, state.find(kFirstRunState));
    const size_t face = state.find("\r\nArial\r\n44 ");
    ASSERT_NE(std::string::npos, face);
    EXPECT_NE(std::string::npos, state.find(" 44 ", face + 9));
}

TEST_F(ProgramTest, AStateFileOfANewerVersionStopsTheStartAndIsLeftAlone)
{
    const std::string newer = "12 Lite Version1 41 0";
    write_bytes(m_state, newer);
    RunningProgram program(m_folder.path());
    ASSERT_TRUE(program.WaitForDialog("Execution Aborted"));
    EXPECT_FALSE(program.WaitForWindow("KV_SHARE", nullptr, 0));
    Answer(program, "Execution Aborted",
           "You are running an obsolete version of Orvalis: \"Lite Version (3.2)\". . "
           "Please re-install version \"Lite Version (4.0)\".");
    EXPECT_EQ(0, program.WaitForExit());
    EXPECT_EQ(newer, file_bytes(m_state));
}

TEST_F(ProgramTest, AFailedGotoKeepsTheItemAndARightClickEditWritesOneRecord)
{
    RunningProgram program(m_folder.path());
    ASSERT_TRUE(program.Main());
    Goto(program, "2");
    ASSERT_TRUE(program.WaitForCaption("Item Number 2"));
    Goto(program, "99");
    Answer(program, "Message", "Item number 99 does not exist or has been deleted.");
    EXPECT_EQ("Item Number 2", WindowText(program.Main()));
    const std::string long_text(100000, 'w');
    std::vector<size_t> ends = {file_bytes("Volume01.STD").size()};
    // A new text, then OK on the long item as it stands, then Cancel.
    const std::pair<const std::string*, int> edits[] = {
        {&long_text, IDOK}, {nullptr, IDOK}, {&m_state, IDCANCEL}};
    for (const auto& edit : edits) {
        RightClick(program.Main());
        HWND editor = program.WaitForDialog("Entry Editor");
        ASSERT_TRUE(editor);
        if (edit.first)
            SetItemText(editor, ORV_EDIT_TEXT, *edit.first);
        ASSERT_TRUE(Press(editor, edit.second));
        EXPECT_FALSE(program.WaitForDialog("Entry Editor", 300));
        ends.push_back(file_bytes("Volume01.STD").size());
    }
    Close(program);

    QuoteDatabaseV2 db;
    EXPECT_EQ(static_cast<uint32_t>(kItems), db.count());
    EXPECT_EQ(long_text, stored_entry(db, 2).text().c_str());
    // Each OK wrote one record at the end: the entry points at the second,
    // which ends the file; Cancel wrote nothing.
    uint32_t offset = 0;
    ASSERT_EQ(1u, db.read_entry(2, offset));
    EXPECT_EQ(ends[1], offset);
    EXPECT_EQ(ends[1] - ends[0], ends[2] - ends[1]);
    EXPECT_EQ(ends[2], ends[3]);
}

TEST_F(ProgramTest, PasteOffersToReformatAWideTextAndRefusesATallOne)
{
    RunningProgram program(m_folder.path());
    ASSERT_TRUE(program.Main());
    std::string wide, tall;
    for (int i = 0; i < 40; ++i)
        wide += "word ";
    PutOnClipboard(wide + "end");
    Command(program.Main(), ORV_CMD_PASTE);
    Answer(program, "Notice",
           "The item is too wide to fit on your screen. Should Keldovane reformat it?", IDYES);
    EXPECT_TRUE(program.WaitForCaption("Item Number " + std::to_string(kItems)));
    for (int i = 0; i < 3000; ++i)
        tall += "x\r\n";
    PutOnClipboard(tall);
    Command(program.Main(), ORV_CMD_PASTE);
    Answer(program, "Error!",
           "The item is too large to fit on your screen. It cannot be placed into the database.");
    Close(program);

    QuoteDatabaseV2 db;
    ASSERT_EQ(static_cast<uint32_t>(kItems + 1), db.count());
    // Re-wrapped into lines of at most the re-wrap width and one more.
    const std::string pasted = stored_entry(db, kItems).text().c_str();
    EXPECT_NE(std::string::npos, pasted.find("\r\n"));
    size_t start = 0;
    for (size_t end; (end = pasted.find("\r\n", start)) != std::string::npos; start = end + 2)
        EXPECT_LE(end - start, 62u);
}

TEST_F(ProgramTest, CutLeavesTheTombstoneOnShowAndARightClickRestoresTheItem)
{
    RunningProgram program(m_folder.path());
    ASSERT_TRUE(program.Main());
    Goto(program, "4");
    ASSERT_TRUE(program.WaitForCaption("Item Number 4"));
    Command(program.Main(), ORV_CMD_CUT);
    Sleep(300);
    EXPECT_EQ("quote 4", ClipboardString());
    RightClick(program.Main());
    Answer(program, "Notice", "This item has been deleted. Do you want to un-delete it?", IDYES);
    Sleep(300);

    Goto(program, "6");
    ASSERT_TRUE(program.WaitForCaption("Item Number 6"));
    Command(program.Main(), ORV_CMD_CUT);
    Command(program.Main(), ORV_CMD_PACK_VOLUME);
    ASSERT_TRUE(Press(program.WaitForDialog("Notice"), IDYES));
    Sleep(500);
    Close(program);

    QuoteDatabaseV2 db;
    std::vector<std::string> texts = item_texts(db);
    texts.resize(6);
    EXPECT_EQ(quote_texts(0, 5), texts);
    EXPECT_EQ(static_cast<uint32_t>(kItems - 1), db.count());
    EXPECT_TRUE(file_exists("Volume01.STD.bak.STD"));
}

TEST_F(ProgramTest, ADocumentOnTheCommandLineIsOpenedAndItsTallItemFitsTheWorkArea)
{
    std::string tall;
    for (int i = 0; i < 62; ++i)
        tall += "line " + std::to_string(i) + "\r\n";
    {
        QuoteDatabaseV2 other(zstring("Other.STD"));
        ASSERT_EQ(1u, other.append_item(make_quote(0, "tall", tall)));
    }
    RunningProgram program(m_folder.path(), "\"" + m_folder.file("Other.STD") + "\"");
    ASSERT_TRUE(program.WaitForCaption("Item Number 0"));
    Command(program.Main(), ORV_CMD_COPY);
    Sleep(300);
    EXPECT_EQ(0u, ClipboardString().find(tall.substr(0, tall.size() - 2)));
    RECT window, area;
    GetWindowRect(program.Main(), &window);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_LE(window.bottom - window.top, area.bottom - area.top);
    EXPECT_LE(window.right - window.left, area.right - area.left);
    Close(program);
}

}  // namespace
