#include "frame/message_box.h"

#include <gtest/gtest.h>

#include <string>

#include "base/zstring.h"
#include "frame/dialog_items.h"
#include "tests/frame/gui_test_support.h"

namespace {

// A visible top-level window to own the boxes.
class OwnerWindow {
public:
    OwnerWindow()
        : m_window(CreateWindowExA(0, "STATIC", "Owner", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                   nullptr, nullptr, nullptr, nullptr))
    {
    }
    ~OwnerWindow() { DestroyWindow(m_window); }
    HWND Handle() const { return m_window; }

private:
    HWND m_window;
};

const std::vector<int> kOkOnly = {IDOK};
const std::vector<int> kYesNo = {IDYES, IDNO};

}  // namespace

TEST(MessageBoxTest, EachFormShowsItsIconCaptionAndTextForItsOwner)
{
    OwnerWindow owner;
    ASSERT_NE(nullptr, owner.Handle());
    BoxAnswerer answers({IDOK, IDOK, IDYES, IDCANCEL});

    EXPECT_EQ(IDOK, InformationBox("The item was saved.", "Message", owner.Handle()));
    EXPECT_EQ(IDOK, ErrorBox("The volume is damaged.", "Error!", owner.Handle()));
    EXPECT_EQ(1, QuestionBox("Delete this item?", "Notice", owner.Handle()));
    EXPECT_EQ(IDCANCEL, ShowMessageBox(owner.Handle(), "Go on?", "Copy", MB_OKCANCEL));

    const std::vector<SeenBox>& boxes = answers.Boxes();
    ASSERT_EQ(4u, boxes.size());
    EXPECT_EQ("Message", boxes[0].caption);
    EXPECT_EQ("The item was saved.", boxes[0].text);
    EXPECT_EQ(kIconAsterisk, boxes[0].icon);
    EXPECT_EQ(kOkOnly, boxes[0].buttons);
    EXPECT_EQ("Error!", boxes[1].caption);
    EXPECT_EQ("The volume is damaged.", boxes[1].text);
    EXPECT_EQ(kIconHand, boxes[1].icon);
    EXPECT_EQ("Notice", boxes[2].caption);
    EXPECT_EQ(kIconExclamation, boxes[2].icon);
    EXPECT_EQ(kYesNo, boxes[2].buttons);
    EXPECT_EQ(0u, boxes[3].icon);
    for (const SeenBox& box : boxes)
        EXPECT_EQ(owner.Handle(), box.owner) << box.caption;
}

TEST(MessageBoxTest, QuestionIsYesOnlyForYes)
{
    OwnerWindow owner;
    // OK is 1 like a yes answer; Cancel stands for a box closed another way.
    BoxAnswerer answers({IDYES, IDNO, IDOK, IDCANCEL});
    EXPECT_EQ(1, QuestionBox("Yes?", "Q", owner.Handle()));
    EXPECT_EQ(0, QuestionBox("No?", "Q", owner.Handle()));
    EXPECT_EQ(0, QuestionBox("OK?", "Q", owner.Handle()));
    EXPECT_EQ(0, QuestionBox("Closed?", "Q", owner.Handle()));
    EXPECT_EQ(4u, answers.Boxes().size());
}

TEST(MessageBoxTest, WithoutAMainWindowBoxesBelongToTheDesktop)
{
    ASSERT_EQ(nullptr, MainWindow());
    EXPECT_EQ(GetDesktopWindow(), MessageBoxOwner());
    BoxAnswerer answers;
    EXPECT_EQ(IDOK, InformationBox("No main window yet.", "Message"));
    ASSERT_EQ(1u, answers.Boxes().size());
    // The desktop cannot own a window: the box ends up with no owner.
    EXPECT_EQ(nullptr, answers.Boxes()[0].owner);
}

TEST(MessageBoxTest, NoticeBoxHasNoOwnerEvenWhenAWindowExists)
{
    OwnerWindow window;
    SetActiveWindow(window.Handle());
    BoxAnswerer answers;
    EXPECT_EQ(IDOK, NoticeBox("Insufficent memory to create main window!"));
    ASSERT_EQ(1u, answers.Boxes().size());
    const SeenBox& box = answers.Boxes()[0];
    EXPECT_EQ("NOTICE!", box.caption);
    EXPECT_EQ("Insufficent memory to create main window!", box.text);
    EXPECT_EQ(kIconHand, box.icon);
    EXPECT_EQ(nullptr, box.owner);
}

TEST(SystemErrorTextTest, LosesTheLineEndAndGivesEmptyTextForUnknownCodes)
{
    char* raw = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, nullptr,
                   ERROR_FILE_NOT_FOUND, 0, reinterpret_cast<char*>(&raw), 0, nullptr);
    ASSERT_NE(nullptr, raw);
    std::string expected = raw;
    LocalFree(raw);
    ASSERT_EQ("\r\n", expected.substr(expected.size() - 2));
    expected.resize(expected.size() - 2);

    zstring out("earlier text");
    EXPECT_EQ(out.c_str(), SystemErrorText(out, ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(expected, out.c_str());

    // No system message has this code.
    EXPECT_STREQ("", SystemErrorText(out, 0x2000FFFF));
    EXPECT_STREQ("", out.c_str());
}
