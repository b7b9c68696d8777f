#include "frame/notice_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/dialog_items.h"
#include "frame/program_instance.h"
#include "res/resource_ids.h"
#include "tests/frame/gui_test_support.h"

namespace {

std::string EditText(HWND dialog, int id)
{
    return WindowText(GetDlgItem(dialog, id));
}

std::vector<std::string> ListEntries(HWND dialog, int id)
{
    std::vector<std::string> entries;
    for (LRESULT i = 0; i < SendDlgItemMessageA(dialog, id, LB_GETCOUNT, 0, 0); ++i) {
        std::string entry(SendDlgItemMessageA(dialog, id, LB_GETTEXTLEN, i, 0) + 1, '\0');
        SendDlgItemMessageA(dialog, id, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&entry[0]));
        entries.push_back(entry.c_str());
    }
    return entries;
}

// A list box that reports a full list while it holds g_limit entries or
// more, or refuses every entry with LB_ERR when g_limit is negative.
WNDPROC g_list_procedure = nullptr;
int g_limit = 0;

LRESULT CALLBACK LimitedList(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    const LRESULT count = CallWindowProcA(g_list_procedure, window, LB_GETCOUNT, 0, 0);
    if (message == LB_ADDSTRING && (g_limit < 0 || count >= g_limit))
        return g_limit < 0 ? LB_ERR : LB_ERRSPACE;
    return CallWindowProcA(g_list_procedure, window, message, wparam, lparam);
}

}  // namespace

TEST(NoticeWindowTest, KeepsAHistoryAndOnlyHidesWhenClosed)
{
    ModelessNotice("First notice");
    HWND window = NoticeWindow::Handle();
    ASSERT_NE(nullptr, window);
    PumpMessages();
    EXPECT_EQ(kIconExclamation, NoticeWindow::CurrentIcon());
    ModelessNotice(NoticeWindow::kAdd, "Second notice");
    SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_FALSE(IsWindowVisible(window));
    ModelessNotice("Third notice");
    PumpMessages();
    EXPECT_TRUE(IsWindowVisible(window));
    const std::vector<std::string> history = {"First notice", "Second notice", "Third notice"};
    EXPECT_EQ(history, ListEntries(window, IDC_NOTICE_HISTORY));

    // Hiding (kinds 0 and 1) and showing leave the history and the text alone.
    for (int kind : {1, NoticeWindow::kShow, NoticeWindow::kHide}) {
        ModelessNotice(kind, "not added");
        PumpMessages();
        EXPECT_EQ(kind == NoticeWindow::kShow, IsWindowVisible(window) != FALSE) << kind;
    }
    EXPECT_EQ(history, ListEntries(window, IDC_NOTICE_HISTORY));
    EXPECT_EQ("Third notice", EditText(window, IDC_NOTICE_TEXT));

    EXPECT_EQ(1, NoticeWindow::Procedure(window, WM_COMMAND, IDM_NOTICE_CLEAR, 0));
    EXPECT_TRUE(ListEntries(window, IDC_NOTICE_HISTORY).empty());
    EXPECT_EQ(0u, NoticeWindow::CurrentIcon());
    ModelessNotice(NoticeWindow::kDestroy, nullptr);
    EXPECT_FALSE(IsWindow(window));
    PumpMessages();
}

TEST(NoticeWindowTest, MissingTemplateShowsTheNoticeBoxEachTime)
{
    // A module without the template stands in for the program itself.
    RecordProgramInstance(GetModuleHandleA("kernel32.dll"), nullptr);
    BoxAnswerer answers;
    ModelessNotice("lost");
    ModelessNotice(NoticeWindow::kShow, "lost again");
    EXPECT_EQ(nullptr, NoticeWindow::Handle());
    RecordProgramInstance(nullptr, nullptr);
    ASSERT_EQ(2u, answers.Boxes().size());
    for (const SeenBox& box : answers.Boxes()) {
        EXPECT_EQ("NOTICE!", box.caption);
        EXPECT_EQ("Cannot create the modeless dialog box!", box.text);
    }
}

// On the notice window's controls, which these helpers serve.
TEST(DialogItemsTest, EditTextListSheddingAndStandardIcons)
{
    ModelessNotice(NoticeWindow::kShow, "");
    PumpMessages();
    HWND host = NoticeWindow::Handle();
    ASSERT_NE(nullptr, host);
    SetDlgItemTextA(host, IDC_NOTICE_TEXT, "earlier text");
    EXPECT_EQ(1, SetEditText(host, IDC_NOTICE_TEXT, nullptr));
    EXPECT_EQ("", EditText(host, IDC_NOTICE_TEXT));
    // A full list sheds every second entry of its first quarter and tries again.
    for (int i = 0; i < 8; ++i)
        AddToList(host, IDC_NOTICE_HISTORY, ("e" + std::to_string(i)).c_str());
    g_limit = 8;
    HWND list = GetDlgItem(host, IDC_NOTICE_HISTORY);
    g_list_procedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LimitedList)));
    EXPECT_EQ(1, AddToList(host, IDC_NOTICE_HISTORY, "new"));
    const std::vector<std::string> shed = {"e1", "e3", "e4", "e5", "e6", "e7", "new"};
    EXPECT_EQ(shed, ListEntries(host, IDC_NOTICE_HISTORY));
    // Still full after shedding: refused, with the quarter gone all the same.
    g_limit = 0;
    EXPECT_EQ(0, AddToList(host, IDC_NOTICE_HISTORY, "refused"));
    EXPECT_EQ(6u, ListEntries(host, IDC_NOTICE_HISTORY).size());
    // Refused for another reason: the list is emptied.
    g_limit = -1;
    EXPECT_EQ(0, AddToList(host, IDC_NOTICE_HISTORY, "refused"));
    EXPECT_TRUE(ListEntries(host, IDC_NOTICE_HISTORY).empty());

    EXPECT_EQ(0, DrawStandardIcon(host, IDC_NOTICE_ICON, kIconAsterisk + 1));
    // The stop icon is a red disc: some red must be in the control now.
    HWND control = GetDlgItem(host, IDC_NOTICE_ICON);
    ASSERT_EQ(1, DrawStandardIcon(host, IDC_NOTICE_ICON, kIconHand));
    HDC dc = GetDC(control);
    int red = 0;
    for (int i = 0; i < 100; ++i) {
        const COLORREF pixel = GetPixel(dc, i % 10 * 3, i / 10 * 3);
        red += GetRValue(pixel) > 150 && GetGValue(pixel) < 90 && GetBValue(pixel) < 90;
    }
    ReleaseDC(control, dc);
    EXPECT_GT(red, 10);
    ModelessNotice(NoticeWindow::kDestroy, nullptr);
}
