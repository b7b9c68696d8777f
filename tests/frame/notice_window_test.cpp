#include "frame/notice_window.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "frame/dialog_items.h"
#include "frame/program_instance.h"
#include "res/resource_ids.h"
#include "tests/frame/gui_test_support.h"

namespace {

std::string EditText(HWND dialog, int id)
{
    char text[256] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

std::vector<std::string> ListEntries(HWND dialog, int id)
{
    std::vector<std::string> entries;
    const LRESULT count = SendDlgItemMessageA(dialog, id, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char entry[256] = "";
        SendDlgItemMessageA(dialog, id, LB_GETTEXT, i, reinterpret_cast<LPARAM>(entry));
        entries.push_back(entry);
    }
    return entries;
}

// A parent window with an edit control and a list box as its items.
class ItemHost : public testing::Test {
protected:
    static const int kEdit = 301;
    static const int kList = 302;
    static const int kIcon = 303;

    void SetUp() override
    {
        ASSERT_NE(nullptr, m_host);
        Child("EDIT", kEdit, ES_MULTILINE, 200, 40);
        Child("LISTBOX", kList, 0, 200, 100);
        Child("STATIC", kIcon, SS_LEFT, 32, 32);
    }
    void TearDown() override { DestroyWindow(m_host); }
    void Child(const char* type, int id, DWORD style, int width, int height)
    {
        CreateWindowExA(0, type, "", WS_CHILD | WS_VISIBLE | style, 0, 0, width, height, m_host,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    }
    void Fill(int n)
    {
        for (int i = 0; i < n; ++i) {
            const std::string entry = "e" + std::to_string(i);
            SendDlgItemMessageA(m_host, kList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
        }
    }

    HWND m_host = CreateWindowExA(0, "STATIC", "Items", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200,
                                  nullptr, nullptr, nullptr, nullptr);
};

// A list box that reports a full list while it holds `limit` entries or
// more, or refuses every entry with LB_ERR when limit is negative.
WNDPROC g_list_procedure = nullptr;
int g_limit = 0;

LRESULT CALLBACK LimitedList(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == LB_ADDSTRING) {
        if (g_limit < 0)
            return LB_ERR;
        if (CallWindowProcA(g_list_procedure, window, LB_GETCOUNT, 0, 0) >= g_limit)
            return LB_ERRSPACE;
    }
    return CallWindowProcA(g_list_procedure, window, message, wparam, lparam);
}

void LimitList(HWND list, int limit)
{
    g_limit = limit;
    g_list_procedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LimitedList)));
}

}  // namespace

TEST(NoticeWindowTest, KeepsAHistoryAndOnlyHidesWhenClosed)
{
    ModelessNotice("First notice");
    HWND window = NoticeWindow::Handle();
    ASSERT_NE(nullptr, window);
    PumpMessages();
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ("First notice", EditText(window, IDC_NOTICE_TEXT));
    EXPECT_EQ(kIconExclamation, NoticeWindow::CurrentIcon());

    ModelessNotice(NoticeWindow::kAdd, "Second notice");
    PumpMessages();
    EXPECT_EQ("Second notice", EditText(window, IDC_NOTICE_TEXT));
    SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(0, NoticeWindow::Procedure(window, WM_SYSCOMMAND, SC_MOVE, 0));

    ModelessNotice("Third notice");
    PumpMessages();
    EXPECT_EQ(window, NoticeWindow::Handle());
    EXPECT_TRUE(IsWindowVisible(window));
    const std::vector<std::string> history = {"First notice", "Second notice", "Third notice"};
    EXPECT_EQ(history, ListEntries(window, IDC_NOTICE_HISTORY));

    // Hiding and showing leave the history alone.
    ModelessNotice(NoticeWindow::kHide, "not added");
    PumpMessages();
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(kIconAsterisk, NoticeWindow::CurrentIcon());
    ModelessNotice(1, "not added");
    PumpMessages();
    EXPECT_FALSE(IsWindowVisible(window));
    ModelessNotice(NoticeWindow::kShow, "not added");
    PumpMessages();
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(kIconApplication, NoticeWindow::CurrentIcon());
    EXPECT_EQ(history, ListEntries(window, IDC_NOTICE_HISTORY));
    EXPECT_EQ("Third notice", EditText(window, IDC_NOTICE_TEXT));

    // A dialog procedure's result says "handled"; SendMessage would give
    // the dialog's message result instead, so the procedure is asked here.
    EXPECT_EQ(1, NoticeWindow::Procedure(window, WM_COMMAND, IDM_NOTICE_CLEAR, 0));
    EXPECT_TRUE(ListEntries(window, IDC_NOTICE_HISTORY).empty());
    EXPECT_EQ(" ", EditText(window, IDC_NOTICE_TEXT));
    EXPECT_EQ(0u, NoticeWindow::CurrentIcon());
    // An unknown command still draws a standard icon, and is not handled.
    EXPECT_EQ(0, NoticeWindow::Procedure(window, WM_COMMAND, 999, kIconQuestion));
    EXPECT_EQ(kIconQuestion, NoticeWindow::CurrentIcon());
    EXPECT_EQ(0, NoticeWindow::Procedure(window, WM_COMMAND, 998, kIconAsterisk + 1));
    EXPECT_EQ(kIconQuestion, NoticeWindow::CurrentIcon());

    ModelessNotice(NoticeWindow::kDestroy, nullptr);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(nullptr, NoticeWindow::Handle());
    // The next notice makes a new window with a fresh history.
    ModelessNotice("After the end");
    ASSERT_NE(nullptr, NoticeWindow::Handle());
    EXPECT_EQ(std::vector<std::string>{"After the end"},
              ListEntries(NoticeWindow::Handle(), IDC_NOTICE_HISTORY));
    ModelessNotice(NoticeWindow::kDestroy, nullptr);
    PumpMessages();
}

TEST(NoticeWindowTest, MissingTemplateShowsTheNoticeBoxEachTime)
{
    // A module without the template stands in for the program itself.
    RecordProgramInstance(GetModuleHandleA("kernel32.dll"), nullptr);
    BoxAnswerer answers;
    ModelessNotice("lost");
    EXPECT_EQ(nullptr, NoticeWindow::Handle());
    ModelessNotice(NoticeWindow::kShow, "lost again");
    EXPECT_EQ(nullptr, NoticeWindow::Handle());
    RecordProgramInstance(nullptr, nullptr);

    ASSERT_EQ(2u, answers.Boxes().size());
    for (const SeenBox& box : answers.Boxes()) {
        EXPECT_EQ("NOTICE!", box.caption);
        EXPECT_EQ("Cannot create the modeless dialog box!", box.text);
        EXPECT_EQ(kIconHand, box.icon);
        EXPECT_EQ(nullptr, box.owner);
    }
}

TEST(ProgramInstanceTest, FallsBackToTheProgramFileUntilRecorded)
{
    EXPECT_EQ(GetModuleHandleA(nullptr), ProgramInstance());
    HINSTANCE other = GetModuleHandleA("user32.dll");
    RecordProgramInstance(other, GetModuleHandleA(nullptr));
    EXPECT_EQ(other, ProgramInstance());
    EXPECT_EQ(other, ProgramModule());
    EXPECT_EQ(GetModuleHandleA(nullptr), PreviousInstance());
    RecordProgramInstance(nullptr, nullptr);
    EXPECT_EQ(GetModuleHandleA(nullptr), ProgramInstance());
    EXPECT_EQ(nullptr, PreviousInstance());
}

TEST(ResourceIdsTest, NoticeWindowIdsAreDistinct)
{
    // Controls report to the window with their ids as command codes, so a
    // control id equal to a command would act as that command.
    const std::vector<int> ids = {IDC_NOTICE_HISTORY, IDC_NOTICE_TEXT, IDC_NOTICE_ICON,
                                  IDM_NOTICE_HIDE,    IDM_NOTICE_SHOW, IDM_NOTICE_CLEAR,
                                  IDM_NOTICE_ADD,     IDC_BUILTIN_TOOLBAR};
    EXPECT_EQ(ids.size(), std::set<int>(ids.begin(), ids.end()).size());
}

TEST_F(ItemHost, EditTextIsReplacedWhole)
{
    SetDlgItemTextA(m_host, kEdit, "earlier text\r\nsecond line");
    SendDlgItemMessageA(m_host, kEdit, EM_SETSEL, 3, 5);
    EXPECT_EQ(1, SetEditText(m_host, kEdit, "new"));
    EXPECT_EQ("new", EditText(m_host, kEdit));
    EXPECT_EQ(1, ClearEditText(m_host, kEdit));
    EXPECT_EQ(" ", EditText(m_host, kEdit));
    EXPECT_EQ(1, SetEditText(m_host, kEdit, nullptr));
    EXPECT_EQ("", EditText(m_host, kEdit));
}

TEST_F(ItemHost, DeletingEntriesTakesEverySecondOne)
{
    Fill(6);
    DeleteListEntries(m_host, kList, 3);
    const std::vector<std::string> left = {"e1", "e3", "e5"};
    EXPECT_EQ(left, ListEntries(m_host, kList));
    DeleteListEntries(m_host, kList, 0);
    EXPECT_EQ(left, ListEntries(m_host, kList));
    EXPECT_EQ(1, ClearList(m_host, kList));
    EXPECT_TRUE(ListEntries(m_host, kList).empty());
}

TEST_F(ItemHost, FullListShedsAQuarterBeforeGivingUp)
{
    Fill(8);
    LimitList(GetDlgItem(m_host, kList), 8);
    EXPECT_EQ(1, AddToList(m_host, kList, "new"));
    const std::vector<std::string> shed = {"e1", "e3", "e4", "e5", "e6", "e7", "new"};
    EXPECT_EQ(shed, ListEntries(m_host, kList));

    // Still full after shedding: refused, with the quarter gone all the same.
    g_limit = 0;
    EXPECT_EQ(0, AddToList(m_host, kList, "refused"));
    EXPECT_EQ(6u, ListEntries(m_host, kList).size());

    // Refused for another reason: the list is emptied.
    g_limit = -1;
    EXPECT_EQ(0, AddToList(m_host, kList, "refused"));
    EXPECT_TRUE(ListEntries(m_host, kList).empty());
}

TEST_F(ItemHost, OnlyStandardIconsAreDrawn)
{
    for (unsigned icon = kIconApplication; icon <= kIconAsterisk; ++icon)
        EXPECT_EQ(1, DrawStandardIcon(m_host, kIcon, icon)) << icon;
    EXPECT_EQ(0, DrawStandardIcon(m_host, kIcon, kIconApplication - 1));
    EXPECT_EQ(0, DrawStandardIcon(m_host, kIcon, kIconAsterisk + 1));
    EXPECT_EQ(0, DrawStandardIcon(m_host, 999, kIconHand));

    // The stop icon is a red disc: some red must be in the control now.
    HWND control = GetDlgItem(m_host, kIcon);
    ASSERT_EQ(1, DrawStandardIcon(m_host, kIcon, kIconHand));
    HDC dc = GetDC(control);
    int red = 0;
    for (int y = 0; y < 30; y += 3) {
        for (int x = 0; x < 30; x += 3) {
            const COLORREF pixel = GetPixel(dc, x, y);
            red += GetRValue(pixel) > 150 && GetGValue(pixel) < 90 && GetBValue(pixel) < 90;
        }
    }
    ReleaseDC(control, dc);
    EXPECT_GT(red, 10);
}
