// Every command of the main window on the real Orvalis.exe, given the ways a
// user gives it: the menu's commands, the keys of the keyboard table and the
// tool window's buttons, each checked by what it shows and what it writes.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "db/quote_database.h"
#include "frame/tool_button.h"
#include "frame/tool_window.h"
#include "program_driver.h"
#include "res/orvalis_ids.h"
#include "tests/db/volume_test_support.h"

namespace {

const int kItems = 10;
const char kData[] = "Volume01.STD";
const char kIndex[] = "Volume01.idx";
const char kLookup[] = "Quote Lookup";
const char kAlarmDialog[] = "Schedule Alarm Event";
const char kCaptionPrefix[] = "Item Number ";

enum class Way { kCommand, kKey, kButton };

enum class Effect {
    kLookup,      // Quote Lookup opens with the focus in its number field
    kNext,        // another item comes on show
    kPrevious,    // the item before the last Next comes back
    kAlarms,      // Schedule Alarm Event opens; only its sound choice outlives Cancel
    kPack,        // the question, declined
    kHelp,        // the user's guide
    kFind,        // Find opens; the words given go to the next item that holds them
    kFindAgain,   // the next item that holds the same words
    kAbout,
    kEditor,      // Entry Editor on the item shown, its Help, then Cancel
    kWebPage,     // nothing to see: no box, and the program goes on
    kCopy,
    kPaste,
    kCut,
};

struct CommandRow {
    const char* what;
    Way way;
    // A command id, a virtual key, or a tool button's place from the left.
    int code;
    Effect effect;
    WORD modifier;  // held with a key
};

// In this order: each row starts from what the rows before it left.
const CommandRow kCommands[] = {
    {"menu Goto Quote", Way::kCommand, ORV_CMD_GOTO_QUOTE, Effect::kLookup, 0},
    {"key Right", Way::kKey, VK_RIGHT, Effect::kNext, 0},
    {"key Left", Way::kKey, VK_LEFT, Effect::kPrevious, 0},
    {"key Page Down", Way::kKey, VK_NEXT, Effect::kNext, 0},
    {"key Page Up", Way::kKey, VK_PRIOR, Effect::kPrevious, 0},
    {"key Space", Way::kKey, VK_SPACE, Effect::kNext, 0},
    {"menu Prev Quote", Way::kCommand, ORV_CMD_PREV_QUOTE, Effect::kPrevious, 0},
    {"menu Next Quote", Way::kCommand, ORV_CMD_NEXT_QUOTE, Effect::kNext, 0},
    {"button Previous Quote", Way::kButton, 0, Effect::kPrevious, 0},
    {"button Next Quote", Way::kButton, 1, Effect::kNext, 0},
    {"menu Find", Way::kCommand, ORV_CMD_FIND, Effect::kFind, 0},
    {"menu Find Again", Way::kCommand, ORV_CMD_FIND_AGAIN, Effect::kFindAgain, 0},
    {"key Ctrl+F", Way::kKey, 'F', Effect::kFind, VK_CONTROL},
    {"key F3", Way::kKey, VK_F3, Effect::kFindAgain, 0},
    {"menu Alarms", Way::kCommand, ORV_CMD_ALARMS, Effect::kAlarms, 0},
    {"button Schedule Event", Way::kButton, 2, Effect::kAlarms, 0},
    {"menu Pack Volume", Way::kCommand, ORV_CMD_PACK_VOLUME, Effect::kPack, 0},
    {"menu Help", Way::kCommand, ORV_CMD_HELP, Effect::kHelp, 0},
    {"key F1", Way::kKey, VK_F1, Effect::kHelp, 0},
    {"menu About", Way::kCommand, ORV_CMD_ABOUT, Effect::kAbout, 0},
    {"edit item command", Way::kCommand, ORV_CMD_EDIT_ITEM, Effect::kEditor, 0},
    {"button Keldovane Web-Page", Way::kButton, 3, Effect::kWebPage, 0},
    {"menu Copy", Way::kCommand, ORV_CMD_COPY, Effect::kCopy, 0},
    {"key Ctrl+C", Way::kKey, 'C', Effect::kCopy, VK_CONTROL},
    {"copy item command", Way::kCommand, ORV_CMD_COPY_ITEM, Effect::kCopy, 0},
    {"menu Paste", Way::kCommand, ORV_CMD_PASTE, Effect::kPaste, 0},
    {"menu Cut", Way::kCommand, ORV_CMD_CUT, Effect::kCut, 0},
    {"key Ctrl+V", Way::kKey, 'V', Effect::kPaste, VK_CONTROL},
    {"key Ctrl+X", Way::kKey, 'X', Effect::kCut, VK_CONTROL},
    {"paste item command", Way::kCommand, ORV_CMD_PASTE_ITEM, Effect::kPaste, 0},
    {"cut item command", Way::kCommand, ORV_CMD_CUT_ITEM, Effect::kCut, 0},
};

const int kSounds[] = {ORV_ALARM_NONE,  ORV_ALARM_NORMAL, ORV_ALARM_WARN,
                       ORV_ALARM_HOT,   ORV_ALARM_PANIC,  ORV_ALARM_RANDOM};

std::string QuoteText(int n)
{
    return "quote " + std::to_string(n);
}

std::string LocalTimeText(std::time_t when)
{
    char text[32];
    std::strftime(text, sizeof text, "%m/%d/%Y %H:%M", std::localtime(&when));
    return text;
}

class CommandTableTest : public ProgramFixture {
protected:
    CommandTableTest() : ProgramFixture(kItems) { DeleteFileA(m_armed.c_str()); }
    void TearDown() override { DeleteFileA(m_armed.c_str()); }

    void Start(const RunningProgram& program)
    {
        ASSERT_TRUE(program.WaitForCaption(kCaptionPrefix, true));
        m_main = program.Main();
        m_shown = Shown();
        ASSERT_GE(m_shown, 0);
        m_text = QuoteText(m_shown);
    }

    // The number in the main window's caption, or -1.
    int Shown() const
    {
        const std::string caption = WindowText(m_main);
        if (caption.rfind(kCaptionPrefix, 0) != 0)
            return -1;
        return std::atoi(caption.c_str() + sizeof kCaptionPrefix - 1);
    }

    // The caption is cleared once any painting due is done; the next one
    // comes from the next item put on show.
    void ClearCaption()
    {
        UpdateWindow(m_main);
        SendMessageA(m_main, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    }

    int AwaitCaption()
    {
        WaitFor([&] { return Shown() >= 0; }, 10000);
        return Shown();
    }

    void Give(const CommandRow& row)
    {
        switch (row.way) {
        case Way::kCommand:
            Command(m_main, row.code);
            break;
        case Way::kKey:
            ASSERT_TRUE(PressKey(m_main, static_cast<WORD>(row.code), row.modifier));
            break;
        case Way::kButton:
            ASSERT_LT(static_cast<size_t>(row.code), m_buttons.size());
            Click(m_buttons[static_cast<size_t>(row.code)]);
            break;
        }
    }

    // The tool window's buttons, left to right.
    void FindButtons(const RunningProgram& program)
    {
        HWND tools = program.WaitForWindow(ToolWindow::kClassName);
        ASSERT_TRUE(tools);
        for (HWND child = GetWindow(tools, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            char name[64] = "";
            GetClassNameA(child, name, sizeof name);
            if (std::string(name) == ToolButton::kClassName)
                m_buttons.push_back(child);
        }
        std::sort(m_buttons.begin(), m_buttons.end(), [](HWND a, HWND b) {
            RECT ra = {}, rb = {};
            GetWindowRect(a, &ra);
            GetWindowRect(b, &rb);
            return ra.left < rb.left;
        });
        ASSERT_EQ(4u, m_buttons.size());
    }

    // What Help shows while there is no help file beside the program: the
    // user's guide the program carries, closed again.
    void ExpectHelpShown(RunningProgram& program)
    {
        HWND guide = program.WaitForDialog("Orvalis Help");
        ASSERT_TRUE(guide);
        EXPECT_EQ(0u, ControlText(guide, ORV_GUIDE_TEXT).find("ORVALIS USER'S GUIDE\r\n"));
        ASSERT_TRUE(Press(guide, IDOK));
    }

    void Check(RunningProgram& program, const CommandRow& row);
    void CheckAlarmDialog(RunningProgram& program);

    HWND m_main = nullptr;
    std::vector<HWND> m_buttons;
    int m_shown = -1;        // the item on show
    std::string m_text;      // and its text
    int m_before_next = -1;  // the item on show before the last Next
    int m_sound = ORV_ALARM_NORMAL;
    std::string m_find;  // the words Find looked for last
    const std::string m_armed = WindowsFile("ORVLS3.ALM");
};

void CommandTableTest::CheckAlarmDialog(RunningProgram& program)
{
    const std::time_t before = std::time(nullptr);
    HWND dialog = program.WaitForDialog(kAlarmDialog);
    ASSERT_TRUE(dialog);
    const std::string time = ControlText(dialog, ORV_ALARM_TIME);
    EXPECT_TRUE(time == LocalTimeText(before) || time == LocalTimeText(std::time(nullptr)))
        << time;
    // The sound chosen last time, even if that dialog was cancelled; the
    // message and execute option as they were.
    for (int sound : kSounds)
        EXPECT_EQ(sound == m_sound ? BST_CHECKED : BST_UNCHECKED,
                  SendDlgItemMessageA(dialog, sound, BM_GETCHECK, 0, 0))
            << "sound button " << sound;
    EXPECT_EQ("This is a reminder!", ControlText(dialog, ORV_ALARM_MESSAGE));
    EXPECT_EQ(BST_UNCHECKED, SendDlgItemMessageA(dialog, ORV_ALARM_EXECUTE, BM_GETCHECK, 0, 0));

    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(ORV_ALARM_HELP, BN_CLICKED), 0);
    Answer(program, "QUICK HELP",
           "Edit the time. Add your message. Select a sound to play. 'Execute' runs the message "
           "from the command prompt. All events are logged.");
    EXPECT_TRUE(IsWindowVisible(dialog));

    m_sound = m_sound == ORV_ALARM_HOT ? ORV_ALARM_PANIC : ORV_ALARM_HOT;
    SendDlgItemMessageA(dialog, m_sound, BM_CLICK, 0, 0);
    SendDlgItemMessageA(dialog, ORV_ALARM_EXECUTE, BM_CLICK, 0, 0);
    SetItemText(dialog, ORV_ALARM_MESSAGE, "not kept");
    ASSERT_TRUE(Press(dialog, IDCANCEL));
    EXPECT_FALSE(file_exists(m_armed));
}

void CommandTableTest::Check(RunningProgram& program, const CommandRow& row)
{
    const std::string data = file_bytes(kData);
    const std::string index = file_bytes(kIndex);
    const uint32_t count = static_cast<uint32_t>(index.size() / 4);
    bool writes = false;
    switch (row.effect) {
    case Effect::kLookup: {
        Give(row);
        HWND lookup = program.WaitForDialog(kLookup);
        ASSERT_TRUE(lookup);
        HWND field = GetDlgItem(lookup, ORV_LOOKUP_NUMBER);
        ASSERT_TRUE(WaitFor([&] { return FocusIn(lookup) == field; }, 3000));
        const int wanted = (m_shown + 3) % kItems;
        Type(FocusIn(lookup), std::to_string(wanted));
        ASSERT_TRUE(WaitFor([&] { return ControlText(field) == std::to_string(wanted); }, 3000));
        ASSERT_TRUE(PressKey(lookup, VK_RETURN));
        EXPECT_TRUE(program.WaitForCaption(kCaptionPrefix + std::to_string(wanted)));
        m_shown = wanted;
        break;
    }
    case Effect::kNext: {
        // The draw may come on the item on show again: then once more.
        m_before_next = m_shown;
        for (int tries = 0; tries < 10 && m_shown == m_before_next; ++tries) {
            ClearCaption();
            Give(row);
            m_shown = AwaitCaption();
        }
        EXPECT_NE(m_before_next, m_shown);
        EXPECT_TRUE(m_shown >= 0 && m_shown < kItems) << m_shown;
        break;
    }
    case Effect::kPrevious:
        ClearCaption();
        Give(row);
        m_shown = AwaitCaption();
        EXPECT_EQ(m_before_next, m_shown);
        break;
    case Effect::kAlarms:
        Give(row);
        CheckAlarmDialog(program);
        break;
    case Effect::kPack: {
        Give(row);
        HWND box = program.WaitForDialog("Notice");
        ASSERT_TRUE(box);
        EXPECT_EQ(0u, ControlText(box, 0xFFFF).find("Pack the volume?"));
        ASSERT_TRUE(Press(box, IDNO));
        break;
    }
    case Effect::kHelp:
        Give(row);
        ExpectHelpShown(program);
        break;
    case Effect::kFind: {
        // Without regard to case unless asked: every item holds "quote".
        Give(row);
        HWND find = program.WaitForDialog("Find");
        ASSERT_TRUE(find);
        EXPECT_EQ(m_find, ControlText(find, ORV_FIND_TEXT));
        EXPECT_EQ(BST_UNCHECKED, SendDlgItemMessageA(find, ORV_FIND_MATCH_CASE, BM_GETCHECK, 0, 0));
        HWND field = GetDlgItem(find, ORV_FIND_TEXT);
        ASSERT_TRUE(WaitFor([&] { return FocusIn(find) == field; }, 3000));
        // The words typed replace the last ones.
        m_find = m_find == "QUOTE" ? "Quote" : "QUOTE";
        Type(field, m_find);
        ASSERT_TRUE(WaitFor([&] { return ControlText(field) == m_find; }, 3000));
        ASSERT_TRUE(Press(find, IDOK));
        m_shown = (m_shown + 1) % kItems;
        EXPECT_TRUE(program.WaitForCaption(kCaptionPrefix + std::to_string(m_shown)));
        break;
    }
    case Effect::kFindAgain:
        Give(row);
        m_shown = (m_shown + 1) % kItems;
        EXPECT_TRUE(program.WaitForCaption(kCaptionPrefix + std::to_string(m_shown)));
        EXPECT_FALSE(program.WaitForDialog("Find", 0));
        break;
    case Effect::kAbout: {
        Give(row);
        HWND about = program.WaitForDialog("Dialog");
        ASSERT_TRUE(about);
        const std::vector<std::string> texts = ChildTexts(about);
        for (const char* text : {"Orvalis", "Lite Version 3.2", ORV_WEB_PAGE_URL, "OK"})
            EXPECT_NE(texts.end(), std::find(texts.begin(), texts.end(), text)) << text;
        ASSERT_TRUE(Press(about, IDOK));
        break;
    }
    case Effect::kEditor: {
        Give(row);
        HWND editor = program.WaitForDialog("Entry Editor");
        ASSERT_TRUE(editor);
        EXPECT_EQ(m_text, ControlText(editor, ORV_EDIT_TEXT));
        EXPECT_EQ("cat", ControlText(editor, ORV_EDIT_CATEGORY));
        PostMessageA(editor, WM_COMMAND, MAKEWPARAM(ORV_EDIT_HELP, BN_CLICKED), 0);
        Answer(program, "QUICK HELP",
               "QEdit the item in the dialog: OKAY records, CANCEL ignores and changes.");
        EXPECT_TRUE(IsWindowVisible(editor));
        SetItemText(editor, ORV_EDIT_TEXT, "not kept");
        ASSERT_TRUE(Press(editor, IDCANCEL));
        break;
    }
    case Effect::kWebPage:
        Give(row);
        EXPECT_FALSE(program.WaitForDialog(nullptr, 1000));
        EXPECT_TRUE(Responds(m_main));
        EXPECT_EQ(-1, program.WaitForExit(0));
        break;
    case Effect::kCopy: {
        ASSERT_TRUE(PutTextOnClipboard("-"));
        const DWORD put = GetClipboardSequenceNumber();
        Give(row);
        EXPECT_EQ(m_text, ClipboardTextAfter(put));
        break;
    }
    case Effect::kPaste: {
        // The new item is written at the end of the data file, and its
        // entry added at the end of the index.
        writes = true;
        m_text = std::string("pasted by ") + row.what;
        ASSERT_TRUE(PutTextOnClipboard(m_text));
        Give(row);
        EXPECT_TRUE(program.WaitForCaption(kCaptionPrefix + std::to_string(count)));
        m_shown = static_cast<int>(count);
        const std::string written = file_bytes(kData);
        EXPECT_GT(written.size(), data.size());
        EXPECT_EQ(data, written.substr(0, data.size()));
        EXPECT_EQ(index + entry_bytes(static_cast<uint32_t>(data.size())), file_bytes(kIndex));
        break;
    }
    case Effect::kCut: {
        // The item's text goes to the clipboard; its tombstone is written
        // at the end of the data file, its entry pointed at it, and it stays
        // on show.
        writes = true;
        ASSERT_TRUE(PutTextOnClipboard("-"));
        const DWORD put = GetClipboardSequenceNumber();
        Give(row);
        EXPECT_EQ(m_text, ClipboardTextAfter(put));
        std::string expected = index;
        expected.replace(static_cast<size_t>(m_shown) * 4, 4,
                         entry_bytes(static_cast<uint32_t>(data.size())));
        EXPECT_TRUE(WaitFor([&] { return file_bytes(kIndex) == expected; }, 5000));
        const std::string written = file_bytes(kData);
        EXPECT_GT(written.size(), data.size());
        EXPECT_EQ(data, written.substr(0, data.size()));
        EXPECT_EQ(m_shown, AwaitCaption());
        break;
    }
    }
    if (m_shown >= 0 && m_shown < kItems && row.effect != Effect::kCut)
        m_text = QuoteText(m_shown);
    if (!writes) {
        EXPECT_EQ(data, file_bytes(kData));
        EXPECT_EQ(index, file_bytes(kIndex));
    }
    EXPECT_EQ(-1, program.WaitForExit(0)) << "the program ended";
}

TEST_F(CommandTableTest, EveryMenuCommandKeyAndToolButtonDoesWhatItSays)
{
    RunningProgram program(m_folder.path());
    ASSERT_NO_FATAL_FAILURE(Start(program));
    ASSERT_NO_FATAL_FAILURE(FindButtons(program));
    for (const CommandRow& row : kCommands) {
        SCOPED_TRACE(row.what);
        Check(program, row);
        if (HasFatalFailure())
            return;
    }
    Close(program);

    // The ten items as they were, then three pasted and cut again.
    QuoteDatabaseV2 db;
    ASSERT_EQ(static_cast<uint32_t>(kItems + 3), db.count());
    std::vector<std::string> texts = item_texts(db);
    texts.resize(kItems);
    EXPECT_EQ(quote_texts(0, kItems - 1), texts);
    for (uint32_t n = kItems; n < kItems + 3; ++n)
        EXPECT_TRUE(stored_entry(db, n).is_deleted()) << n;
    EXPECT_FALSE(file_exists(m_armed));
}

// What becomes of a text typed into Quote Lookup, in this order: a refused
// text leaves the dialog open with the text selected, so the next one typed
// replaces it.
struct LookupRow {
    std::string typed;  // "\b" clears the field
    enum { kRefused, kNoSuchItem, kShown, kCancelled } ending;
    std::string named;  // a refused text as the box names it
};

const LookupRow kLookups[] = {
    {"abc", LookupRow::kRefused, "abc"},
    {"12x", LookupRow::kRefused, "12x"},
    {"\b", LookupRow::kRefused, ""},
    {"-3", LookupRow::kRefused, "-3"},
    {"4294967296", LookupRow::kRefused, "4294967296"},
    {"2147483648", LookupRow::kRefused, "2147483648"},
    {"+5", LookupRow::kRefused, "+5"},
    {std::string(45, '9'), LookupRow::kRefused, std::string(40, '9') + "..."},
    {"2147483647", LookupRow::kNoSuchItem, ""},
    {"10", LookupRow::kNoSuchItem, ""},
    {" 7 ", LookupRow::kShown, ""},
    {"0", LookupRow::kShown, ""},
    {"9", LookupRow::kShown, ""},
    {"5", LookupRow::kCancelled, ""},
};

TEST_F(CommandTableTest, QuoteLookupTakesAWholeNumberAndRefusesAnyOtherTextWithTheDialogOpen)
{
    RunningProgram program(m_folder.path());
    ASSERT_NO_FATAL_FAILURE(Start(program));
    HWND lookup = nullptr;
    for (const LookupRow& row : kLookups) {
        SCOPED_TRACE("typed \"" + row.typed + "\"");
        if (!lookup) {
            Command(m_main, ORV_CMD_GOTO_QUOTE);
            lookup = program.WaitForDialog(kLookup);
            ASSERT_TRUE(lookup);
        }
        HWND field = GetDlgItem(lookup, ORV_LOOKUP_NUMBER);
        ASSERT_TRUE(WaitFor([&] { return FocusIn(lookup) == field; }, 3000));
        Type(FocusIn(lookup), row.typed);
        const std::string held = row.typed == "\b" ? "" : row.typed;
        ASSERT_TRUE(WaitFor([&] { return ControlText(field) == held; }, 3000))
            << ControlText(field);
        const std::string caption = WindowText(m_main);
        const int number = std::atoi(row.typed.c_str());
        switch (row.ending) {
        case LookupRow::kRefused:
            PostMessageA(lookup, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            Answer(program, "Message",
                   "\"" + row.named + "\" is not an item number. Type a whole number, 0 or more.");
            EXPECT_TRUE(IsWindowVisible(lookup));
            EXPECT_EQ(caption, WindowText(m_main));
            break;
        case LookupRow::kNoSuchItem:
            ASSERT_TRUE(PressKey(lookup, VK_RETURN));
            Answer(program, "Message",
                   "Item number " + std::to_string(number) +
                       " does not exist or has been deleted.");
            EXPECT_FALSE(IsWindow(lookup) && IsWindowVisible(lookup));
            EXPECT_EQ(caption, WindowText(m_main));
            lookup = nullptr;
            break;
        case LookupRow::kShown:
            // Whatever was on show before, the caption comes from this item.
            ClearCaption();
            ASSERT_TRUE(PressKey(lookup, VK_RETURN));
            EXPECT_EQ(number, AwaitCaption());
            EXPECT_FALSE(IsWindow(lookup) && IsWindowVisible(lookup));
            lookup = nullptr;
            break;
        case LookupRow::kCancelled:
            ASSERT_TRUE(Press(lookup, IDCANCEL));
            EXPECT_FALSE(program.WaitForDialog("Message", 300));
            EXPECT_EQ(caption, WindowText(m_main));
            lookup = nullptr;
            break;
        }
    }
    Close(program);
}

}  // namespace
