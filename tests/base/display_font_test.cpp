#include "base/display_font.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>

// In fontz_test.cpp.
unsigned GdiObjectMark();

namespace {

const COLORREF kInk = RGB(0x10, 0x20, 0xC0);    // 12591120
const COLORREF kPaper = RGB(0xF0, 0xE0, 0x30);  // 3203312
const LOGFONTA kArial = {-16, 0, 0, 0, 400, 0, 0, 0, 1, 0, 0, 0, 0, "Arial"};
const std::string kArialForm = "-16\n0\n0\n0\n400\n0\n0\n0\n1\n0\n0\n0\n0\nArial\n";

// The colours a display font sets in a device context; with the objects
// too unless only the colours are asked for.
std::string StateOf(HDC dc, bool colours_only = false)
{
    LOGBRUSH brush = {};
    GetObjectA(GetCurrentObject(dc, OBJ_BRUSH), sizeof brush, &brush);
    char text[112];
    std::snprintf(text, sizeof text, "font %p brush %p text %06lx back %06lx brush %06lx",
                  GetCurrentObject(dc, OBJ_FONT), GetCurrentObject(dc, OBJ_BRUSH),
                  static_cast<unsigned long>(GetTextColor(dc)),
                  static_cast<unsigned long>(GetBkColor(dc)),
                  static_cast<unsigned long>(brush.lbColor));
    return colours_only ? std::string(std::strstr(text, "text")) : text;
}

std::string Written(const DisplayFont& font)
{
    std::ostringstream out;
    return font.write(out) ? out.str() : "<failed>" + out.str();
}

// A memory context with a bitmap to draw on, and Arial in ink on paper.
class DisplayFontTest : public testing::Test {
protected:
    DisplayFontTest() { m_font.SetColors(kInk, kPaper); }
    ~DisplayFontTest() override
    {
        SelectObject(m_dc, m_old_bitmap);
        DeleteObject(m_bitmap), DeleteDC(m_dc), DeleteDC(m_other);
    }
    HDC m_dc = CreateCompatibleDC(nullptr), m_other = CreateCompatibleDC(nullptr);
    HBITMAP m_bitmap = CreateBitmap(200, 60, 1, 32, nullptr);
    HGDIOBJ m_old_bitmap = SelectObject(m_dc, m_bitmap);
    const std::string m_before = StateOf(m_dc);
    DisplayFont m_font{&kArial};
};

}  // namespace

TEST_F(DisplayFontTest, SelectSetsEverythingAndReleasePutsItBack)
{
    ASSERT_EQ(1, m_font.Assert(m_dc));
    const HGDIOBJ brush = GetCurrentObject(m_dc, OBJ_BRUSH);
    EXPECT_EQ(static_cast<HFONT>(m_font), GetCurrentObject(m_dc, OBJ_FONT));

    // What the user sees: the brush fills with paper, text is inked on it.
    RECT all = {0, 0, 200, 60};
    FillRect(m_dc, &all, static_cast<HBRUSH>(brush));
    TextOutA(m_dc, 0, 0, "MMMM", 4);
    EXPECT_EQ(kPaper, GetPixel(m_dc, 199, 59));
    int inked = 0;
    for (int x = 0; x < 40; ++x)
        for (int y = 0; y < 16; ++y)
            inked += GetPixel(m_dc, x, y) == kInk;
    EXPECT_GT(inked, 20);

    ASSERT_EQ(1, m_font.Remove(m_dc));
    EXPECT_EQ(m_before, StateOf(m_dc));
    EXPECT_EQ(0u, GetObjectType(brush));
    {
        DisplayFont font(m_font);  // destroyed while selected
        ASSERT_EQ(1, font.Assert(m_dc));
    }
    EXPECT_EQ(m_before, StateOf(m_dc));

    // Selected in one context, refused in another.
    const std::string other = StateOf(m_other);
    ASSERT_EQ(1, m_font.Assert(m_dc));
    const std::string during = StateOf(m_dc);
    EXPECT_EQ(0, m_font.Assert(m_other) + m_font.Remove(m_other));
    EXPECT_EQ(other, StateOf(m_other));

    // Colours changed in between: the release is refused and ours go back.
    SetBkColor(m_dc, RGB(4, 5, 6));
    EXPECT_EQ(0, m_font.Remove(m_dc));
    EXPECT_EQ(during, StateOf(m_dc));

    std::istringstream in("255\n65280\n-40\n0\n0\n0\n700\n0\n0\n0\n1\n0\n0\n0\n0\nArial\n");
    EXPECT_TRUE(m_font.read(in));  // read while selected: the context takes the new colours
    EXPECT_EQ("text 0000ff back 00ff00 brush 00ff00", StateOf(m_dc, true));
    EXPECT_EQ(1, m_font.Remove(m_dc));
    EXPECT_EQ(m_before, StateOf(m_dc));
}

TEST_F(DisplayFontTest, RecordIsTwoColourLinesThenTheFont)
{
    const std::string form = "12591120\n3203312\n" + kArialForm;
    EXPECT_EQ(form, Written(m_font));
    DisplayFont back;
    std::istringstream in("4294967295\n0\n" + kArialForm);
    EXPECT_TRUE(back.read(in));
    EXPECT_EQ("4294967295\n0\n" + kArialForm, Written(back));

    // A font that cannot be written leaves no colour lines behind either.
    LOGFONTA bad = kArial;
    lstrcpyA(bad.lfFaceName, "two\nlines");
    EXPECT_EQ("<failed>", Written(DisplayFont(&bad)));

    // Cut after one colour, a colour past 32 bits, the font cut short, a line lost.
    ASSERT_EQ(1, m_font.Assert(m_dc));
    const std::string during = StateOf(m_dc);
    const std::string damaged[] = {"255\n", "4294967296\n0\n" + kArialForm,
                                   "255\n0\n" + kArialForm.substr(0, 12),
                                   "255\n0\n-30\n0\n0\n0\n700\n0\n0\n0\n0\n0\n0\n0\nTahoma\n"};
    for (const std::string& text : damaged) {
        std::istringstream in(text);
        EXPECT_FALSE(m_font.read(in)) << text;
        EXPECT_EQ(form, Written(m_font));
        EXPECT_EQ(during, StateOf(m_dc));
    }
    EXPECT_EQ(1, m_font.Remove(m_dc));
}

TEST_F(DisplayFontTest, NoGdiObjectLeaks)
{
    auto churn = [&] {
        for (int i = 0; i < 50; ++i) {
            m_font.Assert(m_dc);
            m_font.SetColors(RGB(i, 0, 0), RGB(0, i, 0));
            DisplayFont copy(m_font);
            copy.Assert(m_other);
            copy = m_font;
            m_font.Remove(m_dc);
            std::istringstream in("1\n2\n" + kArialForm);
            copy.read(in);
        }
    };
    churn();
    const unsigned before = GdiObjectMark();
    churn();
    EXPECT_EQ(before, GdiObjectMark());
    EXPECT_EQ(m_before, StateOf(m_dc));
}
