#include "app/text_fit.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

std::string Reformat(const std::string& text, int width = 40)
{
    zstring z(text.c_str());
    EXPECT_EQ(1, ReformatToFit(z, width));
    return z.c_str();
}

std::string Repeat(char c, int n)
{
    return std::string(static_cast<size_t>(n), c);
}

}  // namespace

TEST(ReformatToFit, JoinsShortLinesAndKeepsLongOnes)
{
    EXPECT_EQ("Short line one and the next one.",
              Reformat("Short line one\r\nand the next one."));
    EXPECT_EQ("no carriage return here", Reformat("no carriage return\nhere"));
    // A line is kept from W - 14 = 26 columns on, counting its CR.
    EXPECT_EQ(Repeat('x', 24) + " y", Reformat(Repeat('x', 24) + "\r\ny"));
    EXPECT_EQ(Repeat('x', 25) + "\r\ny", Reformat(Repeat('x', 25) + "\r\ny"));
    EXPECT_EQ(Repeat('x', 45) + "\r\ny", Reformat(Repeat('x', 45) + "\r\ny", 60));
    EXPECT_EQ(Repeat('x', 44) + " y", Reformat(Repeat('x', 44) + "\r\ny", 60));
    // A line feed at the very start is never joined.
    EXPECT_EQ("\nabc", Reformat("\nabc"));
}

TEST(ReformatToFit, KeepsBlankLinesAndTheLineBeforeThem)
{
    EXPECT_EQ("Para one.\r\n\r\nPara two is here.",
              Reformat("Para one.\r\n\r\nPara two\r\nis here."));
    EXPECT_EQ("One.\n\nTwo.\n\n\nThree.", Reformat("One.\n\nTwo.\n\n\nThree."));
}

TEST(ReformatToFit, BreaksALongLineAfterItsLastSpace)
{
    EXPECT_EQ("The quick brown fox jumps over the lazy \r\ndog and keeps on running.",
              Reformat("The quick brown fox jumps over the lazy dog and keeps on running."));
    // Joined first, then broken: the join's space is the break point.
    EXPECT_EQ("Short \r\n" + Repeat('y', 41) + "\r\n" + Repeat('y', 9),
              Reformat("Short\r\n" + Repeat('y', 50)));
    // One byte past W + 1 is allowed when a line end follows it.
    const std::string edge = "The quick brown fox jumps over the lazy do\r\nnext";
    EXPECT_EQ(edge, Reformat(edge));
    // Further out, behind white space, it moves down (and the short line
    // it then makes is joined to the next).
    EXPECT_EQ(Repeat('x', 41) + " \r\nI next", Reformat(Repeat('x', 41) + " I\r\nnext"));
}

TEST(ReformatToFit, BreaksALongWordAfterWPlusOneBytes)
{
    EXPECT_EQ(Repeat('a', 41), Reformat(Repeat('a', 41)));
    EXPECT_EQ(Repeat('a', 41) + "\r\na", Reformat(Repeat('a', 42)));
    EXPECT_EQ(Repeat('a', 41) + "\r\n" + Repeat('a', 41) + "\r\n" + Repeat('a', 18),
              Reformat(Repeat('a', 100)));
    // White space at the very start is no break point.
    EXPECT_EQ(" " + Repeat('a', 40) + "\r\n" + Repeat('a', 10), Reformat(" " + Repeat('a', 50)));
    EXPECT_EQ("", Reformat(""));
}

TEST(TooWide, CountsEachLineAgainstTheColumns)
{
    EXPECT_EQ(0, TooWide("", 5));
    EXPECT_EQ(0, TooWide("abcdef", 5));
    EXPECT_EQ(1, TooWide("abcdefg", 5));
    // Every byte but the text's last is checked, line ends included.
    EXPECT_EQ(1, TooWide("abcdef\n", 5));
    EXPECT_EQ(0, TooWide("abcde\nabcde", 5));
    EXPECT_EQ(1, TooWide("abcde\nabcdef", 5));
    EXPECT_EQ(0, TooWide("abcd\r\nabc\r\n", 5));
    EXPECT_EQ(1, TooWide("abcd\r\nabcd\r\n", 5));
}

TEST(TooLarge, ComparesBytesWithTheScreenAndLinesWithItsRows)
{
    EXPECT_EQ(0, TooLarge(Repeat('x', 29).c_str(), 10, 3));
    EXPECT_EQ(1, TooLarge(Repeat('x', 30).c_str(), 10, 3));
    EXPECT_EQ(0, TooLarge("a\nb\nc", 10, 3));
    EXPECT_EQ(1, TooLarge("a\nb\nc\n", 10, 3));
    EXPECT_EQ(1, TooLarge("", 10, 0));
    EXPECT_EQ(0, TooLarge(Repeat('x', 1000).c_str(), 100000, 100000));
}

TEST(RoomOnScreen, CharactersAcrossAndDown)
{
    // A font that measures 0 (or INT_MIN) counts as one pixel; a negative height is a
    // character height; a frame wider than the screen leaves no room.
    struct Case {
        int frame_width, char_width, char_height, columns, capped, rows, wrap;
    } cases[] = {
        {8, 8, 16, 127, 60, 45, 60}, {8, 20, -16, 50, 50, 45, 50}, {8, 30, 16, 33, 33, 45, 40},
        {8, 0, 0, 1016, 60, 734, 60}, {8, INT_MIN, 16, 1016, 60, 45, 60},
        {2000, 8, 16, 0, 0, 45, 40},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.char_width);
        ScreenSize screen;
        screen.screen_width = 1024;
        screen.screen_height = 768;
        screen.frame_width = c.frame_width;
        screen.frame_height = 34;
        screen.char_width = c.char_width;
        screen.char_height = c.char_height;
        const TextRoom room = RoomOnScreen(screen);
        EXPECT_EQ(c.columns, room.columns);
        EXPECT_EQ(c.capped, room.capped_columns);
        EXPECT_EQ(c.rows, room.rows);
        EXPECT_EQ(c.wrap, room.wrap_width);
    }
}
