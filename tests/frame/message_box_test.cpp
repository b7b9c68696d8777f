#include "frame/message_box.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/zstring.h"
#include "frame/dialog_items.h"
#include "tests/frame/gui_test_support.h"

TEST(MessageBoxTest, EachFormShowsItsIconCaptionAndTextForItsOwner)
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

    const std::vector<SeenBox>& boxes = answers.Boxes();
    ASSERT_EQ(7u, boxes.size());
    EXPECT_EQ("Error!|The volume is damaged.", boxes[1].caption + "|" + boxes[1].text);
    const unsigned icons[] = {kIconAsterisk, kIconHand, kIconExclamation};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(LoadIconA(nullptr, MAKEINTRESOURCEA(icons[i])), boxes[i].icon) << i;
    EXPECT_EQ(nullptr, boxes[3].icon);
    EXPECT_EQ((std::vector<int>{IDYES, IDNO}), boxes[2].buttons);
    for (const SeenBox& box : boxes)
        EXPECT_EQ(owner, box.owner) << box.caption;
    DestroyWindow(owner);
}

TEST(MessageBoxTest, WithoutAMainWindowOrAsANoticeABoxHasNoOwner)
{
    // Until there is a main window the desktop, which cannot own a box, is the owner.
    ASSERT_EQ(nullptr, MainWindow());
    EXPECT_EQ(GetDesktopWindow(), MessageBoxOwner());
    BoxAnswerer answers;
    EXPECT_EQ(IDOK, InformationBox("No main window yet.", "Message"));
    // Nor has the notice box an owner, even when a window is active.
    HWND window = CreateWindowExA(0, "STATIC", "Active", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                  nullptr, nullptr, nullptr, nullptr);
    SetActiveWindow(window);
    EXPECT_EQ(IDOK, NoticeBox("Insufficent memory to create main window!"));
    DestroyWindow(window);
    ASSERT_EQ(2u, answers.Boxes().size());
    const SeenBox& box = answers.Boxes()[1];
    EXPECT_EQ("NOTICE!|Insufficent memory to create main window!", box.caption + "|" + box.text);
    EXPECT_EQ(nullptr, answers.Boxes()[0].owner);
    EXPECT_EQ(nullptr, box.owner);
}

TEST(SystemErrorTextTest, LosesTheLineEndAndGivesEmptyTextForUnknownCodes)
{
    char* raw = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, nullptr,
                   ERROR_FILE_NOT_FOUND, 0, reinterpret_cast<char*>(&raw), 0, nullptr);
    ASSERT_NE(nullptr, raw);
    const std::string expected = raw;
    LocalFree(raw);
    ASSERT_EQ("\r\n", expected.substr(expected.size() - 2));
    zstring out("earlier text");
    EXPECT_EQ(out.c_str(), SystemErrorText(out, ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(expected.substr(0, expected.size() - 2), out.c_str());
    EXPECT_STREQ("", SystemErrorText(out, 0x2000FFFF));
}
