#include "frame/text_block.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

TEST(TextBlockTest, KeepsItsTextWhenDrawnWithEllipsisAndStreams)
{
    HDC dc = CreateCompatibleDC(nullptr);
    // The platform rewrites the text it gets with an ellipsis; the block's own text stays.
    std::string words;
    for (int i = 0; i < 2000; ++i)
        words += "word\t ";
    for (const std::string& text : {std::string("ab"), words}) {
        TextBlock prompt(text.c_str());
        prompt.SetFlags(DT_WORDBREAK | DT_EXPANDTABS | DT_EDITCONTROL | DT_END_ELLIPSIS |
                        DT_MODIFYSTRING);
        EXPECT_EQ(0, prompt.Draw(dc, RECT{0, 0, 40, 20}));
        EXPECT_EQ(text, prompt.Text().c_str());
    }
    DeleteDC(dc);

    // The text, the two colours, then the font: Arial, weight 400, character set 1.
    TextBlock lines("two\r\nlines");
    lines.Font().SetColors(RGB(1, 2, 3), RGB(4, 5, 6));
    std::stringstream stream;
    lines.write(stream);
    const std::string form = stream.str();
    const std::string head = "10 two\r\nlines\n197121\n394500\n0\n0\n0\n0\n400\n0\n0\n0\n1\n";
    EXPECT_EQ(head, form.substr(0, head.size()));
    EXPECT_EQ(form.size() - 6, form.find("Arial\n"));
    TextBlock copy;
    copy.read(stream);
    EXPECT_STREQ("two\r\nlines", copy.Text().c_str());

    // Cut short (the last cut drops the face line) or a huge length prefix: fails, keeps all.
    for (const std::string& bad : {form.substr(0, 5), form.substr(0, 14),
                                   form.substr(0, form.size() - 6), std::string("4294967295 a\n")}) {
        TextBlock target("kept");
        std::istringstream in(bad);
        target.read(in);
        EXPECT_TRUE(in.fail()) << bad;
        EXPECT_STREQ("kept", target.Text().c_str());
    }
}
