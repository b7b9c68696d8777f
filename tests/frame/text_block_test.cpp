#include "frame/text_block.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

// What a device context holds: font, brush, text and background colour.
std::vector<uintptr_t> StateOf(HDC dc)
{
    return {uintptr_t(GetCurrentObject(dc, OBJ_FONT)), uintptr_t(GetCurrentObject(dc, OBJ_BRUSH)),
            GetTextColor(dc), GetBkColor(dc)};
}

SIZE Measured(TextBlock& block, HDC dc, const RECT& rect = {0, 0, 1000, 1000})
{
    SIZE size = {-1, -1};
    EXPECT_EQ(1, block.Measure(dc, size, rect));
    return size;
}

}  // namespace

TEST(TextBlockTest, MeasuresDrawsPutsTheContextBackAndStreams)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(200, 40, 1, 32, nullptr);
    SelectObject(dc, bitmap);
    const auto before = StateOf(dc);
    TextBlock block("abc");
    const SIZE one = Measured(block, dc);
    EXPECT_EQ(nullptr, HFONT(block.Font()));  // no font handle kept between calls
    block.Text() = "abc\r\nabc";
    block.SetMargins(10, 20);
    const SIZE two = Measured(block, dc);
    EXPECT_EQ(std::make_pair(one.cx + 30, 2 * one.cy), std::make_pair(two.cx, two.cy));

    SIZE size = {};
    block.Text() = "";
    EXPECT_EQ(0, block.Measure(dc, size, {0, 0, 1000, 1000}));

    TextBlock hello("Hello, world");
    hello.Font().SetColors(RGB(255, 0, 0), RGB(0, 0, 255));
    EXPECT_EQ(0, hello.Draw(dc, RECT{10, 5, 190, 35}));
    std::map<COLORREF, int> seen;
    for (int i = 0; i < 200 * 40; ++i)
        ++seen[GetPixel(dc, i % 200, i / 200)];
    EXPECT_GT(std::min(seen[RGB(255, 0, 0)], seen[RGB(0, 0, 255)]), 10);  // text on background
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(dc, 2, 2));  // outside the rectangle

    // The platform rewrites the text it gets with an ellipsis; the block's own text stays.
    std::string words;
    for (int i = 0; i < 2000; ++i)
        words += "word\t ";
    for (const std::string& text : {std::string("ab"), words}) {
        TextBlock prompt(text.c_str());
        prompt.SetFlags(DT_WORDBREAK | DT_EXPANDTABS | DT_EDITCONTROL | DT_END_ELLIPSIS |
                        DT_MODIFYSTRING);
        EXPECT_EQ(0, prompt.Draw(dc, RECT{0, 0, 40, 20}));
        Measured(prompt, dc, RECT{0, 0, 40, 20});
        EXPECT_EQ(text, prompt.Text().c_str());
    }
    EXPECT_EQ(before, StateOf(dc));
    DeleteDC(dc);
    DeleteObject(bitmap);

    // The stream form round-trips; damage fails it and changes nothing.
    TextBlock lines("two\r\nlines");
    lines.Font().SetColors(RGB(1, 2, 3), RGB(4, 5, 6));
    std::stringstream stream;
    lines.write(stream);
    const std::string form = stream.str();
    // The text, the two colours, then the font: Arial, weight 400, character set 1.
    const std::string head = "10 two\r\nlines\n197121\n394500\n0\n0\n0\n0\n400\n0\n0\n0\n1\n";
    EXPECT_EQ(head, form.substr(0, head.size()));
    EXPECT_EQ(form.size() - 6, form.find("Arial\n"));
    TextBlock copy;
    copy.read(stream);
    EXPECT_STREQ("two\r\nlines", copy.Text().c_str());

    // Cut short (the last cut drops the face line) or a huge length prefix: fails, keeps all.
    const std::string bad_forms[] = {form.substr(0, 5), form.substr(0, 14),
                                     form.substr(0, form.size() - 6), "4294967295 a\n"};
    for (const std::string& bad : bad_forms) {
        TextBlock target("kept");
        std::istringstream in(bad);
        target.read(in);
        EXPECT_TRUE(in.fail()) << bad;
        EXPECT_STREQ("kept", target.Text().c_str());
        EXPECT_EQ(RGB(0, 0, 0), target.Font().TextColor());
    }
}
