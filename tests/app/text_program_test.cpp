// Text as users have it on the real program: Find by words in any case,
// Unicode on the clipboard both ways, and what Paste stores by the rule.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "db/quote_database.h"
#include "program_driver.h"
#include "res/orvalis_ids.h"
#include "tests/db/volume_test_support.h"

namespace {

// "Café au lait" in Windows-1252, as older volumes hold it, and a text no
// code page holds, stored as UTF-8.
const char kCafe1252[] = "Caf\xe9 au lait";
const char kGreekUtf8[] = "\xce\x95\xce\xbb\xce\xbb\xce\xb7\xce\xbd\xce\xb9\xce\xba\xce\xac \xf0\x9f\x98\x80";
const wchar_t kGreek[] = L"\x0395\x03bb\x03bb\x03b7\x03bd\x03b9\x03ba\x03ac \xd83d\xde00";

class TextProgramTest : public ProgramFixture {
protected:
    TextProgramTest() : ProgramFixture(10)
    {
        QuoteDatabaseV2 db;
        EXPECT_EQ(1u, db.append_item(make_quote(10, "cat", kCafe1252)));   // item 10
        EXPECT_EQ(1u, db.append_item(make_quote(11, "cat", kGreekUtf8)));  // item 11
    }

    // Find with these words; the dialog goes with Find Next.
    void Find(const RunningProgram& program, const wchar_t* words, bool match_case = false)
    {
        Command(program.Main(), ORV_CMD_FIND);
        HWND dialog = program.WaitForDialog("Find");
        ASSERT_TRUE(dialog);
        SendMessageW(GetDlgItem(dialog, ORV_FIND_TEXT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(words));
        SendDlgItemMessageA(dialog, ORV_FIND_MATCH_CASE, BM_SETCHECK,
                            match_case ? BST_CHECKED : BST_UNCHECKED, 0);
        ASSERT_TRUE(Press(dialog, IDOK));
    }

    std::wstring ClipboardWide()
    {
        std::wstring text;
        if (!OpenClipboard(nullptr))
            return text;
        if (HANDLE block = GetClipboardData(CF_UNICODETEXT)) {
            text = static_cast<const wchar_t*>(GlobalLock(block));
            GlobalUnlock(block);
        }
        CloseClipboard();
        return text;
    }

    std::string ClipboardNarrow()
    {
        std::string text;
        if (!OpenClipboard(nullptr))
            return text;
        if (HANDLE block = GetClipboardData(CF_TEXT)) {
            text = static_cast<const char*>(GlobalLock(block));
            GlobalUnlock(block);
        }
        CloseClipboard();
        return text;
    }

    void PutWide(const std::wstring& text)
    {
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
        memcpy(GlobalLock(block), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
        GlobalUnlock(block);
        SetClipboardData(CF_UNICODETEXT, block);
        CloseClipboard();
    }
};

}  // namespace

TEST_F(TextProgramTest, FindGoesForwardInAnyCaseWrapsOnceAndSaysWhenNothingIsFound)
{
    RunningProgram program(m_folder.path());
    ASSERT_TRUE(program.WaitForCaption("Item Number ", true));
    Find(program, L"QUOTE 7");
    EXPECT_TRUE(program.WaitForCaption("Item Number 7"));
    // Find Again goes on from the item on show, and past the end to the start.
    Find(program, L"quote");
    EXPECT_TRUE(program.WaitForCaption("Item Number 8"));
    Command(program.Main(), ORV_CMD_FIND_AGAIN);
    EXPECT_TRUE(program.WaitForCaption("Item Number 9"));
    Command(program.Main(), ORV_CMD_FIND_AGAIN);
    EXPECT_TRUE(program.WaitForCaption("Item Number 0"));
    // Latin letters of the code page and UTF-8 texts, in any case.
    Find(program, L"CAF\x00c9");
    EXPECT_TRUE(program.WaitForCaption("Item Number 10"));
    Find(program, L"\x0395\x039b\x039b\x0397\x039d");
    EXPECT_TRUE(program.WaitForCaption("Item Number 11"));
    // The item found is in the history: Prev goes back to the one before.
    Command(program.Main(), ORV_CMD_PREV_QUOTE);
    EXPECT_TRUE(program.WaitForCaption("Item Number 10"));
    Find(program, L"caf\x00e9", true);
    Answer(program, "Find", "\"caf\xe9\" was not found.");
    EXPECT_TRUE(program.WaitForCaption("Item Number 10")) << "the item on show stays";
    Close(program);
}

TEST_F(TextProgramTest, CopyPutsBothFormsAndPasteStoresByTheRule)
{
    RunningProgram program(m_folder.path());
    ASSERT_TRUE(program.WaitForCaption("Item Number ", true));
    Find(program, L"\xd83d\xde00");
    ASSERT_TRUE(program.WaitForCaption("Item Number 11"));
    Command(program.Main(), ORV_CMD_COPY);
    EXPECT_TRUE(WaitFor([&] { return ClipboardWide() == kGreek; }, 3000));
    // The code page lacks these letters: its form shows what it can.
    EXPECT_EQ(std::string::npos, ClipboardNarrow().find("\xce")) << "no UTF-8 bytes as code page text";

    PutWide(L"Caf\x00e9 cr\x00e8me \x2014 new");
    Command(program.Main(), ORV_CMD_PASTE);
    EXPECT_TRUE(program.WaitForCaption("Item Number 12"));
    PutWide(std::wstring(kGreek) + L" new");
    Command(program.Main(), ORV_CMD_PASTE);
    EXPECT_TRUE(program.WaitForCaption("Item Number 13"));
    Close(program);

    QuoteDatabaseV2 db;
    const std::vector<std::string> texts = item_texts(db);
    ASSERT_EQ(14u, texts.size());
    EXPECT_EQ("Caf\xe9 cr\xe8me \x97 new", texts[12]) << "every character fits Windows-1252";
    EXPECT_EQ(std::string(kGreekUtf8) + " new", texts[13]) << "stored as UTF-8";
}

TEST_F(TextProgramTest, TheEntryEditorShowsAndStoresEveryCharacter)
{
    RunningProgram program(m_folder.path());
    ASSERT_TRUE(program.WaitForCaption("Item Number ", true));
    Find(program, L"\xd83d\xde00");
    ASSERT_TRUE(program.WaitForCaption("Item Number 11"));
    PostMessageA(program.Main(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(30, 30));
    PostMessageA(program.Main(), WM_RBUTTONUP, 0, MAKELPARAM(30, 30));
    HWND editor = program.WaitForDialog("Entry Editor");
    ASSERT_TRUE(editor);
    HWND text = GetDlgItem(editor, ORV_EDIT_TEXT);
    auto shown = [&] {
        wchar_t buffer[256] = L"";
        SendMessageW(text, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(buffer));
        return std::wstring(buffer);
    };
    EXPECT_TRUE(WaitFor([&] { return shown() == kGreek; }, 3000));
    SendMessageW(text, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"\x03a9\x03bc\x03ad\x03b3\x03b1 caf\x00e9"));
    ASSERT_TRUE(Press(editor, IDOK));
    Sleep(300);
    Close(program);
    QuoteDatabaseV2 db;
    EXPECT_EQ("\xce\xa9\xce\xbc\xce\xad\xce\xb3\xce\xb1 caf\xc3\xa9", item_texts(db)[11]);
}
