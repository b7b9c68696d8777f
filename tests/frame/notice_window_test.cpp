#include "frame/notice_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/dialog_items.h"
#include "frame/program_instance.h"
#include "res/resource_ids.h"
#include "tests/frame/gui_test_support.h"

namespace {

// The notice window's history.
std::vector<std::string> History(HWND notice)
{
    HWND list = GetDlgItem(notice, IDC_NOTICE_HISTORY);
    std::vector<std::string> entries(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (size_t i = 0; i < entries.size(); ++i) {
        entries[i].resize(SendMessageA(list, LB_GETTEXTLEN, i, 0) + 1);
        entries[i].resize(SendMessageA(list, LB_GETTEXT, i, LPARAM(&entries[i][0])));
    }
    return entries;
}

// A list box that is full from g_limit entries on.
WNDPROC g_list_procedure = nullptr;
int g_limit = 0;

LRESULT CALLBACK LimitedList(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    const LRESULT count = CallWindowProcA(g_list_procedure, window, LB_GETCOUNT, 0, 0);
    if (message == LB_ADDSTRING && count >= g_limit)
        return LB_ERRSPACE;
    return CallWindowProcA(g_list_procedure, window, message, wparam, lparam);
}

}  // namespace

TEST(NoticeWindowTest, KeepsAHistoryHidesWhenClosedShedsWhenFullAndNeedsItsTemplate)
{
    ModelessNotice("First notice");
    HWND window = NoticeWindow::Handle();
    ASSERT_NE(nullptr, window);
    PumpMessages();
    ModelessNotice(NoticeWindow::kAdd, "Second notice");
    SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_FALSE(IsWindowVisible(window));
    ModelessNotice("Third notice");
    PumpMessages();
    EXPECT_TRUE(IsWindowVisible(window));
    const std::vector<std::string> history = {"First notice", "Second notice", "Third notice"};
    EXPECT_EQ(history, History(window));

    // Hiding leaves the history and the text alone.
    ModelessNotice(NoticeWindow::kHide, "not added");
    PumpMessages();
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(history, History(window));
    EXPECT_EQ("Third notice", WindowText(GetDlgItem(window, IDC_NOTICE_TEXT)));

    EXPECT_EQ(1, NoticeWindow::Procedure(window, WM_COMMAND, IDM_NOTICE_CLEAR, 0));
    EXPECT_TRUE(History(window).empty());

    // The dialog helpers, on its controls.
    ModelessNotice(NoticeWindow::kShow, "");
    PumpMessages();
    // A full list sheds every second entry of its first quarter and tries again.
    for (int i = 0; i < 8; ++i)
        AddToList(window, IDC_NOTICE_HISTORY, ("e" + std::to_string(i)).c_str());
    g_limit = 8;
    HWND list = GetDlgItem(window, IDC_NOTICE_HISTORY);
    g_list_procedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LimitedList)));
    EXPECT_EQ(1, AddToList(window, IDC_NOTICE_HISTORY, "new"));
    EXPECT_EQ((std::vector<std::string>{"e1", "e3", "e4", "e5", "e6", "e7", "new"}),
              History(window));

    ModelessNotice(NoticeWindow::kDestroy, nullptr);
    EXPECT_FALSE(IsWindow(window));
    PumpMessages();

    // A module without the template stands in for the program itself.
    RecordProgramInstance(GetModuleHandleA("kernel32.dll"), nullptr);
    BoxAnswerer answers;
    ModelessNotice("lost");
    ModelessNotice(NoticeWindow::kShow, "lost again");
    EXPECT_EQ(nullptr, NoticeWindow::Handle());
    RecordProgramInstance(nullptr, nullptr);
    ASSERT_EQ(2u, answers.Boxes().size());
    for (const SeenBox& box : answers.Boxes())
        EXPECT_EQ("NOTICE!|Cannot create the modeless dialog box!", box.caption + "|" + box.text);
}
