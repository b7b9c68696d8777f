// What the program does with a volume that is damaged, refused, missing or
// cannot be written: it says what failed and on which file, offers what
// can mend it, and never loses or wrongly writes an item.
#include <windows.h>

#include <regex>
#include <string>
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

class VolumeProgramTest : public ProgramFixture {
protected:
    VolumeProgramTest() : ProgramFixture(kItems) {}

    std::string Full(const char* name) const { return m_folder.file(name); }

    void Paste(const RunningProgram& program, const std::string& text)
    {
        ASSERT_EQ(1, ClipboardText().PutText(text.c_str()));
        Command(program.Main(), ORV_CMD_PASTE);
    }

    // The pack command, confirmed.
    void Pack(const RunningProgram& program)
    {
        Command(program.Main(), ORV_CMD_PACK_VOLUME);
        ASSERT_TRUE(Press(program.WaitForDialog("Notice"), IDYES));
    }

    void RightClick(HWND main)
    {
        PostMessageA(main, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(30, 30));
        PostMessageA(main, WM_RBUTTONUP, 0, MAKELPARAM(30, 30));
    }

    std::string LostIndexQuestion(const char* problem) const
    {
        return "The index " + Full("Volume01.idx") + " of the volume " + Full("Volume01.STD") +
               " " + problem +
               ".\n\nOrvalis can rebuild the index from the volume. The files as they are now "
               "are kept as " + Full("Volume01.damaged.STD") + " and " +
               Full("Volume01.damaged.idx") + ".\n\nRebuild the index now?";
    }
};

bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

}  // namespace

TEST_F(VolumeProgramTest, ALostIndexIsExplainedRebuiltAndPackedWithoutLoss)
{
    const std::string data = file_bytes("Volume01.STD");
    // Lost as a missing file, and as an empty one beside the items.
    const struct { bool empty; const char* problem; } cases[] = {
        {false, "is missing"},
        {true, "holds no entries, although the volume holds items"},
    };
    for (const auto& lost : cases) {
        DeleteFileA("Volume01.idx");
        if (lost.empty)
            write_bytes("Volume01.idx", "");
        RunningProgram program(m_folder.path());
        Answer(program, "Notice", LostIndexQuestion(lost.problem), IDYES);
        Answer(program, "Message",
               "The index of " + Full("Volume01.STD") + " was rebuilt: 10 items came back.");
        ASSERT_TRUE(program.WaitForCaption("Item Number ", true));
        // Two packs in a row keep every item.
        for (int i = 0; i < 2; ++i)
            Pack(program);
        Close(program);
        QuoteDatabaseV2 db;
        EXPECT_EQ(quote_texts(0, kItems - 1), item_texts(db));
        EXPECT_EQ(data, file_bytes("Volume01.damaged.STD"));
        EXPECT_EQ(lost.empty ? "" : "?", file_exists("Volume01.damaged.idx")
                                             ? file_bytes("Volume01.damaged.idx")
                                             : std::string("?"));
    }
}

TEST_F(VolumeProgramTest, ADeclinedRebuildWritesNothingAndMakesNoIndex)
{
    DeleteFileA("Volume01.idx");
    const std::string data = file_bytes("Volume01.STD");
    RunningProgram program(m_folder.path());
    Answer(program, "Notice", LostIndexQuestion("is missing"), IDNO);
    Answer(program, "Message", "Item has not been appended to the database.");
    Paste(program, "a new saying");
    Answer(program, "Error!", "Could not add a new item to database " + Full("Volume01.STD") +
                                  ": its index is lost.");
    // Pack and Cut are refused too: nothing reaches the disk.
    Command(program.Main(), ORV_CMD_PACK_VOLUME);
    Command(program.Main(), ORV_CMD_CUT);
    Sleep(500);
    EXPECT_FALSE(program.WaitForDialog("Notice", 300));
    Close(program);
    EXPECT_EQ(data, file_bytes("Volume01.STD"));
    EXPECT_FALSE(file_exists("Volume01.idx"));
    EXPECT_EQ((std::vector<std::string>{"Volume01.STD"}), m_folder.listing());
}

TEST_F(VolumeProgramTest, PackOfADamagedVolumeIsRefusedAndOffersTheRebuild)
{
    // An entry that points past the end of the data.
    write_bytes("Volume01.idx", file_bytes("Volume01.idx") + entry_bytes(0x7FFFFFF0));
    const std::string index = file_bytes("Volume01.idx");
    RunningProgram program(m_folder.path());
    ASSERT_TRUE(program.WaitForCaption("Item Number ", true));
    Pack(program);
    Answer(program, "Notice",
           LostIndexQuestion("has entries that lead to no readable item, so the volume was not "
                             "packed"),
           IDNO);
    Close(program);
    EXPECT_EQ(index, file_bytes("Volume01.idx"));
    EXPECT_FALSE(file_exists("Volume01.STD.bak.STD"));
}

TEST_F(VolumeProgramTest, ARefusedVolumeIsNamedOnceAndNoVolumeIsWrittenInItsPlace)
{
    const std::string data = file_bytes("Volume01.STD");
    const std::string index = file_bytes("Volume01.idx");
    write_bytes("Foreign.STD", "not a quote volume");
    RunningProgram program(m_folder.path(), "Foreign.STD");
    Answer(program, "Unable to read databases.",
           "Un-support database format.\n" + Full("Foreign.STD"));
    Paste(program, "a new saying");
    Answer(program, "Error!", "Could not add a new item to database " + Full("Foreign.STD") +
                                  ": Orvalis cannot write this volume.");
    // Every command that reads or writes: no second box, nothing written.
    for (int command : {ORV_CMD_NEXT_QUOTE, ORV_CMD_CUT, ORV_CMD_PACK_VOLUME, ORV_CMD_NEXT_QUOTE})
        Command(program.Main(), command);
    RightClick(program.Main());
    HWND editor = program.WaitForDialog("Entry Editor", 3000);
    if (editor)
        Press(editor, IDOK);
    Sleep(500);
    EXPECT_FALSE(program.WaitForDialog("Unable to read databases.", 300));
    HWND error = program.WaitForDialog("Error!", 300);
    if (error)
        Press(error, IDOK);
    Close(program);
    EXPECT_EQ(data, file_bytes("Volume01.STD"));
    EXPECT_EQ(index, file_bytes("Volume01.idx"));
    EXPECT_EQ("not a quote volume", file_bytes("Foreign.STD"));
}

TEST_F(VolumeProgramTest, AMissingVolumeOnTheCommandLineIsNamed)
{
    RunningProgram program(m_folder.path(), "Missing.STD");
    Answer(program, "Message", "The volume " + Full("Missing.STD") + " does not exist.\nOrvalis shows " +
                                   Full("Volume01.STD") + " instead.");
    ASSERT_TRUE(program.WaitForCaption("Item Number ", true));
    Close(program);
    EXPECT_FALSE(file_exists("Missing.STD"));
}

TEST_F(VolumeProgramTest, WithNoLiveItemNothingHiddenIsAppendedByAnEdit)
{
    {
        QuoteDatabaseV2 db;
        for (uint32_t n = 0; n < kItems; ++n)
            delete_item(db, n);
    }
    const std::string index = file_bytes("Volume01.idx");
    RunningProgram program(m_folder.path());
    Answer(program, "Message", "Item has not been appended to the database.");
    RightClick(program.Main());
    HWND editor = program.WaitForDialog("Entry Editor");
    ASSERT_TRUE(editor);
    HWND text = GetDlgItem(editor, ORV_EDIT_TEXT);
    EXPECT_TRUE(WaitFor([&] { return ControlText(text) == "<empty>"; }, 3000)) << ControlText(text);
    Press(editor, IDCANCEL);
    Close(program);
    EXPECT_EQ(index, file_bytes("Volume01.idx"));
}

TEST_F(VolumeProgramTest, CopyPutsTheTextAndZerosOnTheClipboard)
{
    RunningProgram program(m_folder.path());
    ASSERT_TRUE(program.WaitForCaption("Item Number ", true));
    Command(program.Main(), ORV_CMD_COPY);
    Sleep(300);
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE block = GetClipboardData(CF_TEXT);
    ASSERT_TRUE(block);
    const char* bytes = static_cast<const char*>(GlobalLock(block));
    const size_t size = GlobalSize(block);
    const std::string text(bytes);
    EXPECT_EQ(0u, text.find("quote "));
    for (size_t i = text.size(); i < size; ++i)
        EXPECT_EQ(0, bytes[i]) << "byte " << i << " of " << size;
    GlobalUnlock(block);
    CloseClipboard();
    Close(program);
}

TEST_F(VolumeProgramTest, PlacementsOffTheScreenAreBroughtBack)
{
    {
        RunningProgram first(m_folder.path());
        ASSERT_TRUE(first.WaitForCaption("Item Number ", true));
        Close(first);
    }
    RECT area;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    // Both placement records: the top-left corner just inside the bottom-right one.
    std::string state = file_bytes(m_state);
    const std::regex record("44 (\\d+) (\\d+) (-?\\d+) (-?\\d+) (-?\\d+) (-?\\d+) "
                            "(-?\\d+) (-?\\d+) (-?\\d+) (-?\\d+) ");
    const std::string off = std::to_string(area.right - 30) + " " + std::to_string(area.bottom - 24) +
                            " " + std::to_string(area.right + 570) + " " +
                            std::to_string(area.bottom + 376) + " ";
    state = std::regex_replace(state, record, "44 $1 $2 $3 $4 $5 $6 " + off);
    write_bytes(m_state, state);
    RunningProgram program(m_folder.path());
    ASSERT_TRUE(program.WaitForCaption("Item Number ", true));
    HWND tools = program.WaitForWindow(ToolWindow::kClassName);
    Sleep(300);
    RECT main_rect, tools_rect;
    GetWindowRect(program.Main(), &main_rect);
    GetWindowRect(tools, &tools_rect);
    EXPECT_TRUE(Inside(main_rect, area));
    EXPECT_TRUE(Inside(tools_rect, area));
    EXPECT_EQ(600, main_rect.right - main_rect.left) << "the size is kept";
    Close(program);
}

TEST_F(VolumeProgramTest, ALongLineAfterAShortOneGrowsTheWindowToTheWrappedText)
{
    std::string words;
    for (int i = 0; i < 120; ++i)
        words += "word" + std::to_string(i) + " ";
    {
        QuoteDatabaseV2 other(zstring("Long.STD"));
        ASSERT_EQ(1u, other.append_item(make_quote(0, "long", "Short.\r\n" + words)));
    }
    RunningProgram program(m_folder.path(), "Long.STD");
    ASSERT_TRUE(program.WaitForCaption("Item Number 0"));
    Sleep(500);
    RECT client;
    GetClientRect(program.Main(), &client);
    // The words take several wrapped lines; one line would be about 20 pixels.
    EXPECT_GT(client.bottom, 120);
    Close(program);
}

TEST_F(VolumeProgramTest, AStateFileThatCannotBeReadIsLeftAsItIs)
{
    write_bytes(m_state, "12 Lite Version1 31 2");
    HANDLE held = CreateFileA(m_state.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    {
        RunningProgram program(m_folder.path());
        ASSERT_TRUE(program.WaitForCaption("Item Number ", true));
        Close(program);
    }
    CloseHandle(held);
    EXPECT_EQ("12 Lite Version1 31 2", file_bytes(m_state));
}

TEST_F(VolumeProgramTest, AFailedPasteSaysWhyAndOnWhichFile)
{
    const std::string index = file_bytes("Volume01.idx");
    RunningProgram program(m_folder.path());
    ASSERT_TRUE(program.WaitForCaption("Item Number ", true));
    // Another program holds the data file open for reading only.
    HANDLE held = CreateFileA("Volume01.STD", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    Paste(program, "a new saying");
    HWND box = program.WaitForDialog("Error!");
    ASSERT_TRUE(box);
    const std::string text = WindowText(GetDlgItem(box, 0xFFFF));
    EXPECT_EQ(0u, text.find("Could not add a new item to database " + Full("Volume01.STD") + ": "))
        << text;
    EXPECT_EQ(std::string::npos, text.find("Out of disk space?")) << text;
    Press(box, IDOK);
    CloseHandle(held);
    Close(program);
    EXPECT_EQ(index, file_bytes("Volume01.idx"));
}
