#include "frame/notice_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/zstring.h"
#include "frame/dialog_items.h"
#include "frame/message_box.h"
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

// A list box that is full from g_limit entries on, or refuses all with LB_ERR when negative.
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

TEST(NoticeWindowTest, KeepsAHistoryHidesWhenClosedServesTheDialogHelpersAndNeedsItsTemplate)
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
    EXPECT_EQ(history, History(window));

    // Hiding (kinds 0 and 1) and showing leave the history and the text alone.
    for (int kind : {1, NoticeWindow::kShow, NoticeWindow::kHide}) {
        ModelessNotice(kind, "not added");
        PumpMessages();
        EXPECT_EQ(kind == NoticeWindow::kShow, IsWindowVisible(window) != FALSE) << kind;
    }
    EXPECT_EQ(history, History(window));
    EXPECT_EQ("Third notice", WindowText(GetDlgItem(window, IDC_NOTICE_TEXT)));

    EXPECT_EQ(1, NoticeWindow::Procedure(window, WM_COMMAND, IDM_NOTICE_CLEAR, 0));
    EXPECT_TRUE(History(window).empty());
    EXPECT_EQ(0u, NoticeWindow::CurrentIcon());

    // The dialog helpers, on its controls.
    ModelessNotice(NoticeWindow::kShow, "");
    PumpMessages();
    SetDlgItemTextA(window, IDC_NOTICE_TEXT, "earlier text");
    EXPECT_EQ(1, SetEditText(window, IDC_NOTICE_TEXT, nullptr));
    EXPECT_EQ("", WindowText(GetDlgItem(window, IDC_NOTICE_TEXT)));
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
    // Still full after shedding: refused, with the quarter gone all the same.
    g_limit = 0;
    EXPECT_EQ(0, AddToList(window, IDC_NOTICE_HISTORY, "refused"));
    EXPECT_EQ(6u, History(window).size());
    // Refused for another reason: the list is emptied.
    g_limit = -1;
    EXPECT_EQ(0, AddToList(window, IDC_NOTICE_HISTORY, "refused"));
    EXPECT_TRUE(History(window).empty());

    EXPECT_EQ(0, DrawStandardIcon(window, IDC_NOTICE_ICON, kIconAsterisk + 1));
    // The stop icon is a red disc: some red must be in the control now.
    HWND control = GetDlgItem(window, IDC_NOTICE_ICON);
    ASSERT_EQ(1, DrawStandardIcon(window, IDC_NOTICE_ICON, kIconHand));
    HDC dc = GetDC(control);
    int red = 0;
    for (int i = 0; i < 100; ++i)
        red += (GetPixel(dc, i % 10 * 3, i / 10 * 3) & 0xC0C0C0) == 0xC0;  // strong red
    ReleaseDC(control, dc);
    EXPECT_GT(red, 10);
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

TEST(MessageBoxTest, EachFormShowsItsIconCaptionTextAndOwner)
{
    HWND owner = CreateWindowExA(0, "STATIC", "Owner", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                 nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, owner);
    BoxAnswerer answers({IDOK, IDOK, IDYES, IDCANCEL, IDNO, IDOK, IDCANCEL});
    EXPECT_EQ(IDOK, InformationBox("The item was saved.", "Message", owner));
    EXPECT_EQ(IDOK, ErrorBox("The volume is damaged.", "Error!", owner));
    EXPECT_EQ(1, QuestionBox("Delete this item?", "Notice", owner));
    EXPECT_EQ(IDCANCEL, ShowMessageBox(owner, "Go on?", "Copy", MB_OKCANCEL));
    // Only Yes is a yes: OK is 1 too, and Cancel stands for a box closed another way.
    for (const char* answer : {"No", "OK", "Cancel"})
        EXPECT_EQ(0, QuestionBox("Sure?", "Question", owner)) << answer;
    // Until there is a main window the desktop, which cannot own a box, is the owner; nor has
    // the notice box an owner, even when a window is active.
    ASSERT_EQ(nullptr, MainWindow());
    EXPECT_EQ(GetDesktopWindow(), MessageBoxOwner());
    EXPECT_EQ(IDOK, InformationBox("No main window yet.", "Message"));
    SetActiveWindow(owner);
    EXPECT_EQ(IDOK, NoticeBox("Insufficent memory to create main window!"));
    DestroyWindow(owner);

    const std::vector<SeenBox>& boxes = answers.Boxes();
    ASSERT_EQ(9u, boxes.size());
    EXPECT_EQ("Error!|The volume is damaged.", boxes[1].caption + "|" + boxes[1].text);
    EXPECT_EQ("NOTICE!|Insufficent memory to create main window!",
              boxes[8].caption + "|" + boxes[8].text);
    const unsigned icons[] = {kIconAsterisk, kIconHand, kIconExclamation};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(LoadIconA(nullptr, MAKEINTRESOURCEA(icons[i])), boxes[i].icon) << i;
    EXPECT_EQ((std::vector<int>{IDYES, IDNO}), boxes[2].buttons);
    for (size_t i = 0; i < boxes.size(); ++i)
        EXPECT_EQ(i < 7 ? owner : nullptr, boxes[i].owner) << i;
}

TEST(SystemErrorTextTest, LosesTheLineEndAndGivesEmptyTextForUnknownCodes)
{
    char raw[1024] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_FILE_NOT_FOUND, 0, raw, sizeof raw,
                   nullptr);
    zstring out("earlier text");
    EXPECT_EQ(out.c_str(), SystemErrorText(out, ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(raw, std::string(out.c_str()) + "\r\n");
    EXPECT_STREQ("", SystemErrorText(out, 0x2000FFFF));
}
