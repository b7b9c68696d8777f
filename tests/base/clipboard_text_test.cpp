#include "base/clipboard_text.h"
#include "base/drop_info.h"
#include "base/zstring.h"

#include <gtest/gtest.h>
#include <shlobj.h>  // DROPFILES

#include <cstring>
#include <memory>
#include <string>

namespace {

HWND MakeWindow()
{
    return CreateWindowExA(0, "STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

// The owner of the clipboard calls, and a window acting as another program.
class ClipboardTest : public testing::Test {
protected:
    ~ClipboardTest() override
    {
        DestroyWindow(m_owner);
        DestroyWindow(m_other);
    }
    // True when nobody has left the clipboard open.
    bool ClipboardIsFree() { return OpenClipboard(m_other) && CloseClipboard(); }
    // The clipboard's text through ClipboardText, "<null>" when there is none.
    std::string Taken()
    {
        std::unique_ptr<zstring> text(ClipboardText(m_owner).GetText());
        return text ? text->c_str() : "<null>";
    }

    HWND m_owner = MakeWindow();
    HWND m_other = MakeWindow();
};

// A drop handle as the shell makes one: a DROPFILES header, then wide names
// each with its zero, then one more zero.
template <size_t N>
HDROP MakeDrop(POINT at, const WCHAR (&names)[N])
{
    HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + sizeof names);
    auto* header = static_cast<DROPFILES*>(GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    header->pt = at;
    header->fWide = TRUE;
    std::memcpy(header + 1, names, sizeof names);
    GlobalUnlock(block);
    return static_cast<HDROP>(block);
}

}  // namespace

TEST_F(ClipboardTest, RoundTripClosesTheClipboardAndNoTextIsNull)
{
    // A long text is past one line read; null puts the empty text.
    const std::string long_text = std::string(20000, 'x') + "end";
    for (const char* text :
         {"caf\xe9\r\nna\xefve", long_text.c_str(), static_cast<const char*>(nullptr)}) {
        ClipboardText(m_other).PutText("not yet empty");
        EXPECT_EQ(1, ClipboardText(m_owner).PutText(text));
        EXPECT_TRUE(ClipboardIsFree());
        EXPECT_EQ(text ? text : "", Taken());
    }

    // Empty, then holding only another format.
    for (UINT format : {0u, RegisterClipboardFormatA("Orvalis test")}) {
        ASSERT_TRUE(OpenClipboard(m_other) && EmptyClipboard());
        if (format)
            SetClipboardData(format, GlobalAlloc(GHND, 4));
        CloseClipboard();
        EXPECT_EQ("<null>", Taken()) << format;
    }
    EXPECT_TRUE(ClipboardIsFree());
}

TEST(DropInfo, ReadsCountPointAndNames)
{
    // The shell sends wide names; they arrive as 8-bit text.
    DropInfo drop(MakeDrop({-5, 34}, L"C:\\docs\\a.std\0C:\\b c\\long name.txt\0"));
    EXPECT_EQ(2u, drop.Count());
    EXPECT_EQ(-5, drop.X());
    EXPECT_EQ(34, drop.Y());
    zstring name, shorter;
    ASSERT_EQ(2, drop.FileName(1, name) + drop.FileName(0, shorter));
    EXPECT_STREQ("C:\\b c\\long name.txt", name.c_str());
    EXPECT_STREQ("C:\\docs\\a.std", shorter.c_str());
    EXPECT_EQ(0, drop.FileName(2, name) + DropInfo(nullptr).FileName(0, name));
    EXPECT_STREQ("C:\\b c\\long name.txt", name.c_str());
}
